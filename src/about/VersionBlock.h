#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file's version information in our own text form, queried by path as Windows queries a
// version resource:
//
//   \StringFileInfo\040904E4\ProductName=Portico
//
// One value per line: its path, '=', then its text up to the end of the line (a '\r' before
// the line break is dropped). Lines without '=' carry nothing.
class VersionBlock {
public:
    explicit VersionBlock(std::string_view bytes);

    // The text at that path, compared without regard to ASCII case, up to its first NUL
    // byte; nullopt when the block has no such path. The first line of a path counts.
    std::optional<std::string> QueryValue(std::string_view subBlock) const;

private:
    struct Entry {
        std::string Path;
        std::string Text;
    };
    std::vector<Entry> m_entries;
};
