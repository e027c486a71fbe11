#include "about/VersionBlock.h"

#include <algorithm>

namespace {
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}
} // namespace

VersionBlock::VersionBlock(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            m_entries.push_back(
                {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))});
    }
}

std::optional<std::string> VersionBlock::QueryValue(std::string_view subBlock) const
{
    for (const Entry& entry : m_entries) {
        if (EqualNoCase(entry.Path, subBlock))
            return entry.Text.substr(0, entry.Text.find('\0'));
    }
    return std::nullopt;
}
