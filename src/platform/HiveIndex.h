#pragma once

#include "platform/HiveSource.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Where the key lines of a registry file are, found in one pass over the file without decoding
// the keys: the file is searched for "[" at the start of a line, and a line after one that
// holds a backslash is checked with the reader's own rules, since hex data may go on over it.
// Wine writes keys in its sorted order, so a key is then found by a binary search over the
// sorted runs of key lines (a hand-edited file may add a few runs); with too many runs, by a
// pass over all of them.
class HiveIndex {
public:
    using Path = std::vector<std::u16string>;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // Read at a time in a pass over the file.
    static constexpr std::size_t kChunk = 256 * 1024;

    // Reads the source from its second line on, chunk bytes at a time (or a whole line, when
    // longer).
    HiveIndex(const HiveSource& source, std::size_t secondLine, std::size_t chunk = kChunk);

    // From the header lines before the first key: "#arch=win64", and the root that link targets
    // name, from ";; All keys relative to" (e.g. "\REGISTRY\Machine").
    bool IsWin64() const { return m_win64; }
    const std::u16string& RootPath() const { return m_rootPath; }

    struct Found {
        // A key line names the path, or a path below it.
        bool exists = false;
        // The key lines that name it, in file order.
        std::vector<std::size_t> lines;
    };
    // The key at path, compared without regard to case; folded is path after
    // RegistryCase::Fold, component by component.
    Found Find(const HiveSource& source, const Path& folded) const;
    // The first key line in the file that names the path or a path below it; npos when none.
    std::size_t FirstBelow(const HiveSource& source, const Path& folded) const;
    // Where a key that has no key line goes in Wine's order: the first key line of the file
    // that sorts after it; npos when none does.
    std::size_t InsertionPoint(const HiveSource& source, const Path& folded) const;
    // The end of the block of the key line at keyLine: the next key line, good or broken, or
    // the end of the file.
    std::size_t BlockEnd(const HiveSource& source, std::size_t keyLine) const;
    // The path that a key line names, as written.
    static Path KeyPath(const HiveSource& source, std::size_t keyLine);
    // A key name split at its backslashes; empty names, between doubled backslashes, dropped
    // as Wine drops them.
    static Path SplitPath(std::u16string_view name);

private:
    enum class Step { Next, NextRun, Stop };
    void Scan(const HiveSource& source, std::size_t secondLine, std::size_t chunkSize);
    // Calls visit(index in m_keyLines, order of that key line against the path, whether the
    // path is a prefix of it) in file order for the key lines of each run from the first one
    // that does not sort before the path, until visit returns NextRun or Stop. With too many
    // runs, every key line is a run of its own.
    template <typename Visit>
    void Search(const HiveSource& source, const Path& folded, Visit&& visit) const;

    std::vector<std::size_t> m_keyLines;
    // Key lines without a closing bracket: they hold no key, but end the block before them.
    std::vector<std::size_t> m_brokenLines;
    // Where each sorted run of m_keyLines starts.
    std::vector<std::size_t> m_runs;
    bool m_win64 = false;
    std::u16string m_rootPath;
};
