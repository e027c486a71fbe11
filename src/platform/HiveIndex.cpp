#include "platform/HiveIndex.h"

#include "platform/HiveLines.h"
#include "platform/RegistryCase.h"
#include "platform/RegistryEscaping.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {
// Read for one key line in a binary search; longer lines are read again in full.
constexpr std::size_t kLineGuess = 512;
// With more sorted runs than this, one pass over every key line costs less than a binary
// search in each run.
constexpr std::size_t kMaxRuns = 64;
constexpr std::string_view kRootComment = ";; All keys relative to ";

using Path = HiveIndex::Path;

// A key line's name, up to its closing bracket. Plain when it holds only ASCII and pairs of
// backslashes (the separators): its bytes then compare as the names they decode to.
struct Name {
    std::string_view bytes;
    bool valid = false;
    bool plain = false;
};

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Eight bytes at a time: the high bit set in the first of them that is "\\" or "]", ends a
// line, or is past ASCII (and maybe in later ones), or none set.
std::uint64_t Special(std::uint64_t bytes)
{
    // "\\" and "]" differ in their lowest bit only.
    const std::uint64_t brackets = (bytes ^ (kOnes * 0x5C)) & ~kOnes;
    const std::uint64_t newlines = bytes ^ (kOnes * '\n');
    return (((brackets - kOnes) & ~brackets) | ((newlines - kOnes) & ~newlines) | bytes) &
           kHighBits;
}

// The name at the start of rest, the text from after a key line's "[" on, of which the bytes
// before from are known to be plain and not to end inside a run of backslashes.
Name NameOf(std::string_view rest, std::size_t from = 0)
{
    std::size_t i = from;
    for (;;) {
        // Past eight bytes at a time that hold nothing but letters.
        if constexpr (std::endian::native == std::endian::little) {
            for (std::uint64_t bytes; i + 8 <= rest.size(); i += 8) {
                std::memcpy(&bytes, rest.data() + i, 8);
                if (const std::uint64_t special = Special(bytes)) {
                    i += static_cast<std::size_t>(std::countr_zero(special)) / 8;
                    break;
                }
            }
        }
        if (i >= rest.size() || rest[i] == '\n')
            return {};
        const char c = rest[i];
        if (c == ']')
            return {rest.substr(0, i), true, true};
        if (c == '\\' && i + 1 < rest.size() && rest[i + 1] == '\\') {
            i += 2;
            continue;
        }
        if (c == '\\' || static_cast<unsigned char>(c) >= 0x80) {
            std::string_view line = rest.substr(0, rest.find('\n'));
            if (line.size() < rest.size() && !line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            std::u16string ignored;
            const std::size_t end = RegistryEscaping::Decode(line, 0, ']', ignored);
            if (end == std::string_view::npos)
                return {};
            return {rest.substr(0, end - 1), true, false};
        }
        ++i;
    }
}

// The name of a key line, given its text without CR and LF.
Name NameOfLine(std::string_view line)
{
    const std::size_t p = HiveLines::FirstNonBlank(line);
    if (p >= line.size() || line[p] != '[')
        return {};
    return NameOf(line.substr(p + 1));
}

Path DecodedPath(const Name& name)
{
    std::u16string text;
    RegistryEscaping::Decode(name.bytes, 0, ']', text);
    return HiveIndex::SplitPath(text);
}

// The next name of a plain key name from pos, past any separators; false at its end.
bool NextComponent(std::string_view name, std::size_t& pos, std::string_view& out)
{
    while (pos < name.size() && name[pos] == '\\')
        pos += 2;
    if (pos >= name.size())
        return false;
    std::size_t end = name.find('\\', pos);
    if (end == std::string_view::npos)
        end = name.size();
    out = name.substr(pos, end - pos);
    pos = end;
    return true;
}

int LowerAscii(char c)
{
    const auto unit = static_cast<unsigned char>(c);
    return unit >= 'A' && unit <= 'Z' ? unit + 0x20 : unit;
}

int CompareLengths(std::size_t a, std::size_t b)
{
    return a == b ? 0 : a < b ? -1 : 1;
}

int CompareBytes(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (const int d = LowerAscii(a[i]) - LowerAscii(b[i]))
            return d;
    }
    return CompareLengths(a.size(), b.size());
}

// The first byte at which a and b differ.
std::size_t Mismatch(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= n; i += 8) {
            std::uint64_t x;
            std::uint64_t y;
            std::memcpy(&x, a.data() + i, 8);
            std::memcpy(&y, b.data() + i, 8);
            if (x != y)
                return i + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        }
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

int ComparePaths(const Path& a, const Path& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (const int c = RegistryCase::Compare(a[i], b[i]))
            return c;
    }
    return CompareLengths(a.size(), b.size());
}

// How far the plain name a and the bytes b, which first differ at mismatch, hold the same
// whole names: up to the start of the backslashes before the name in which they differ.
std::size_t SharedNames(std::string_view b, std::size_t mismatch)
{
    std::size_t from = mismatch;
    while (from > 0 && b[from - 1] != '\\')
        --from;
    while (from > 0 && b[from - 1] == '\\')
        --from;
    return from;
}

// The bytes of b that the plain name a, which b matches up to mismatch, vouches for: up to
// mismatch, or to the start of the run of backslashes that it cuts.
std::size_t Vouched(std::string_view b, std::size_t mismatch)
{
    while (mismatch > 0 && b[mismatch - 1] == '\\')
        --mismatch;
    return mismatch;
}

// Wine's order of two key names: depth first, names compared without regard to case. from:
// where the names may first differ (see SharedNames), when both are plain.
int CompareNames(const Name& a, const Name& b, std::size_t from)
{
    if (!a.plain || !b.plain)
        return ComparePaths(DecodedPath(a), DecodedPath(b));
    std::size_t pa = from;
    std::size_t pb = from;
    std::string_view na;
    std::string_view nb;
    for (;;) {
        const bool hasA = NextComponent(a.bytes, pa, na);
        const bool hasB = NextComponent(b.bytes, pb, nb);
        if (!hasA || !hasB)
            return hasA ? 1 : hasB ? -1 : 0;
        if (const int d = CompareBytes(na, nb))
            return d;
    }
}

// Whether the plain name b sorts before a, the one before it in the file; they first differ
// at mismatch.
bool OutOfOrder(std::string_view a, std::string_view b, std::size_t mismatch)
{
    // a's bytes start b's: b is the same key, or one below a or after it.
    if (mismatch == a.size())
        return false;
    // Inside a name of both: the first differing letter decides, unless only its case differs.
    if (mismatch < b.size() && a[mismatch] != '\\' && b[mismatch] != '\\') {
        if (const int d = LowerAscii(a[mismatch]) - LowerAscii(b[mismatch]))
            return d > 0;
    }
    return CompareNames({a, true, true}, {b, true, true}, SharedNames(b, mismatch)) > 0;
}

// The order of a key name against a folded path; prefix: the path is a prefix of the name.
int CompareWithPath(const Name& name, const Path& folded, bool& prefix)
{
    prefix = false;
    if (!name.valid)
        return 1;
    if (name.plain) {
        std::size_t pos = 0;
        std::string_view component;
        for (const std::u16string& target : folded) {
            if (!NextComponent(name.bytes, pos, component))
                return -1;
            const std::size_t n = std::min(component.size(), target.size());
            for (std::size_t i = 0; i < n; ++i) {
                if (const int d = LowerAscii(component[i]) - static_cast<int>(target[i]))
                    return d;
            }
            if (const int d = CompareLengths(component.size(), target.size()))
                return d;
        }
        prefix = true;
        return NextComponent(name.bytes, pos, component) ? 1 : 0;
    }
    const Path path = DecodedPath(name);
    for (std::size_t j = 0; j < folded.size(); ++j) {
        if (j >= path.size())
            return -1;
        const std::u16string& component = path[j];
        const std::size_t n = std::min(component.size(), folded[j].size());
        for (std::size_t i = 0; i < n; ++i) {
            if (const int d = static_cast<int>(RegistryCase::Lower(component[i])) -
                              static_cast<int>(folded[j][i]))
                return d;
        }
        if (const int d = CompareLengths(component.size(), folded[j].size()))
            return d;
    }
    prefix = true;
    return path.size() > folded.size() ? 1 : 0;
}

// Whole lines of the source at given positions, read a window at a time.
class LineReader {
public:
    LineReader(const HiveSource& source, std::size_t window) : m_source(source), m_window(window) {}

    // The text of the line at pos, without CR and LF.
    std::string_view LineAt(std::size_t pos)
    {
        std::size_t length = m_window;
        if (pos < m_start || pos > m_start + m_view.size())
            Fill(pos, length);
        for (;;) {
            std::string_view rest = m_view.substr(pos - m_start);
            const std::size_t newline = rest.find('\n');
            if (newline != std::string_view::npos) {
                rest = rest.substr(0, newline);
                if (!rest.empty() && rest.back() == '\r')
                    rest.remove_suffix(1);
                return rest;
            }
            if (m_short)
                return rest;
            length = std::max(length, rest.size()) * 4;
            Fill(pos, length);
        }
    }

private:
    void Fill(std::size_t pos, std::size_t length)
    {
        m_view = m_source.Read(pos, length, m_scratch);
        m_start = pos;
        m_short = m_view.size() < length;
    }

    const HiveSource& m_source;
    std::size_t m_window;
    std::string m_scratch;
    std::string_view m_view;
    std::size_t m_start = 0;
    bool m_short = false;
};

// Whether the reader takes the line at lineAt, which starts with "[", as more hex data of a
// value: found by reading the lines from simPos as the reader does. simPos is the start of a
// line outside any value, and inKey whether a good key line was the last one before it; both
// move on to the line after a value that takes the line.
bool TakenByValue(const HiveSource& source, std::size_t lineAt, std::size_t lineNext,
                  std::size_t& simPos, bool& inKey, std::string& scratch)
{
    const std::string_view text = source.Read(simPos, lineNext - simPos, scratch);
    const std::size_t target = lineAt - simPos;
    std::size_t x = 0;
    while (x < target && x < text.size()) {
        const HiveLines::Line line = HiveLines::At(text, x);
        const std::string_view content = text.substr(line.start, line.contentEnd - line.start);
        const std::size_t p = HiveLines::FirstNonBlank(content);
        const char c = p < content.size() ? content[p] : '\0';
        if (c == '[') {
            inKey = NameOf(content.substr(p + 1)).valid;
            x = line.next;
        } else if ((c == '"' || c == '@') && inKey && HiveLines::MayGoOn(content)) {
            RegistryValue ignored;
            bool isValue;
            x = HiveLines::ParseValue(text, line.start, ignored, isValue, nullptr, nullptr);
        } else {
            x = line.next;
        }
    }
    if (x <= target)
        return false;
    simPos += x;
    return true;
}
} // namespace

HiveIndex::HiveIndex(const HiveSource& source, std::size_t secondLine, std::size_t chunk)
{
    Scan(source, secondLine, chunk);
}

HiveIndex::Path HiveIndex::SplitPath(std::u16string_view name)
{
    Path path;
    for (std::size_t start = 0; start <= name.size();) {
        std::size_t end = name.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = name.size();
        if (end > start)
            path.emplace_back(name.substr(start, end - start));
        start = end + 1;
    }
    return path;
}

void HiveIndex::Scan(const HiveSource& source, std::size_t secondLine, std::size_t chunkSize)
{
    const std::size_t size = source.Size();
    m_keyLines.reserve(size / 160);
    std::string scratch;
    std::string simScratch;
    // The last good key line's name, kept here once the chunk that held it is replaced.
    std::string kept;
    Name previous;
    bool inHeader = true;
    // Whether the line before the chunk holds a backslash.
    bool backslashBefore = false;
    // Where the reader's rules are followed from, for a key line that hex data may take.
    std::size_t simPos = secondLine;
    bool simInKey = false;

    for (std::size_t pos = secondLine; pos < size;) {
        if (previous.valid && previous.bytes.data() != kept.data()) {
            kept.assign(previous.bytes);
            previous.bytes = kept;
        }
        // Whole lines, at least one.
        std::string_view chunk;
        for (std::size_t want = std::max<std::size_t>(chunkSize, 1);; want *= 4) {
            chunk = source.Read(pos, want, scratch);
            const std::size_t last = chunk.rfind('\n');
            if (chunk.size() < want)
                break;
            if (last != std::string_view::npos) {
                chunk = chunk.substr(0, last + 1);
                break;
            }
        }
        if (chunk.empty())
            break;

        std::size_t i = 0;
        while (inHeader && i < chunk.size()) {
            const HiveLines::Line line = HiveLines::At(chunk, i);
            const std::string_view content = chunk.substr(line.start, line.contentEnd - line.start);
            const std::size_t p = HiveLines::FirstNonBlank(content);
            if (p < content.size() && content[p] == '[')
                break;
            const std::string_view rest = content.substr(p);
            if (rest == "#arch=win64") {
                m_win64 = true;
            } else if (rest.substr(0, kRootComment.size()) == kRootComment) {
                std::string quoted(rest.substr(kRootComment.size()));
                quoted += '"';
                std::u16string root;
                RegistryEscaping::Decode(quoted, 0, '"', root);
                m_rootPath = u"\\" + root;
            }
            i = line.next;
        }

        while (i < chunk.size()) {
            const auto* found =
                static_cast<const char*>(std::memchr(chunk.data() + i, '[', chunk.size() - i));
            if (!found)
                break;
            const auto bracket = static_cast<std::size_t>(found - chunk.data());
            std::size_t start = bracket;
            while (start > 0 && HiveLines::IsBlank(chunk[start - 1]))
                --start;
            if (start > 0 && chunk[start - 1] != '\n') {
                i = bracket + 1;
                continue;
            }
            i = bracket + 1;

            // Only hex data goes on over more lines, and only after a backslash: a key line
            // after a line without one (Wine writes an empty line) is one whatever came before.
            bool backslash = backslashBefore;
            if (start == 1 || (start >= 2 && chunk[start - 2] == '\n')) {
                backslash = false;
            } else if (start > 0) {
                const std::size_t before = chunk.rfind('\n', start - 2);
                const std::size_t from = before == std::string_view::npos ? 0 : before + 1;
                backslash =
                    chunk.substr(from, start - 1 - from).find('\\') != std::string_view::npos;
            }
            if (!inHeader && backslash) {
                const std::size_t newline = chunk.find('\n', bracket);
                const std::size_t next =
                    newline == std::string_view::npos ? chunk.size() : newline + 1;
                if (TakenByValue(source, pos + start, pos + next, simPos, simInKey, simScratch))
                    continue;
            }

            // Wine's neighbouring keys share most of their path: what the last key line held
            // needs no second look.
            const std::string_view rest = chunk.substr(bracket + 1);
            const std::size_t mismatch = previous.plain ? Mismatch(previous.bytes, rest) : 0;
            const Name name = NameOf(rest, Vouched(rest, mismatch));
            inHeader = false;
            simPos = pos + start;
            simInKey = name.valid;
            if (!name.valid) {
                m_brokenLines.push_back(pos + start);
                continue;
            }
            i += name.bytes.size() + 1;
            if (m_keyLines.empty() ||
                (previous.plain && name.plain ? OutOfOrder(previous.bytes, name.bytes, mismatch)
                                              : CompareNames(previous, name, 0) > 0))
                m_runs.push_back(m_keyLines.size());
            m_keyLines.push_back(pos + start);
            previous = name;
        }

        const std::size_t lastEnd = chunk.back() == '\n' ? chunk.size() - 1 : chunk.size();
        const std::size_t lastNewline =
            lastEnd > 0 ? chunk.rfind('\n', lastEnd - 1) : std::string_view::npos;
        const std::size_t lastStart = lastNewline == std::string_view::npos ? 0 : lastNewline + 1;
        backslashBefore =
            chunk.substr(lastStart, lastEnd - lastStart).find('\\') != std::string_view::npos;
        pos += chunk.size();
    }
}

template <typename Visit>
void HiveIndex::Search(const HiveSource& source, const Path& folded, Visit&& visit) const
{
    const bool linear = m_runs.size() > kMaxRuns;
    LineReader reader(source, linear ? kChunk : kLineGuess);
    bool prefix = false;
    const auto order = [&](std::size_t index) {
        return CompareWithPath(NameOfLine(reader.LineAt(m_keyLines[index])), folded, prefix);
    };
    const std::size_t runs = linear ? m_keyLines.size() : m_runs.size();
    for (std::size_t run = 0; run < runs; ++run) {
        std::size_t low = linear ? run : m_runs[run];
        const std::size_t end = linear                    ? run + 1
                                : run + 1 < m_runs.size() ? m_runs[run + 1]
                                                          : m_keyLines.size();
        for (std::size_t high = end; low < high;) {
            const std::size_t middle = low + (high - low) / 2;
            if (order(middle) < 0)
                low = middle + 1;
            else
                high = middle;
        }
        for (; low < end; ++low) {
            const int o = order(low);
            if (o < 0)
                break;
            const Step step = visit(low, o, prefix);
            if (step == Step::Stop)
                return;
            if (step == Step::NextRun)
                break;
        }
    }
}

HiveIndex::Found HiveIndex::Find(const HiveSource& source, const Path& folded) const
{
    Found found;
    Search(source, folded, [&](std::size_t index, int order, bool prefix) {
        if (prefix)
            found.exists = true;
        if (order != 0)
            return Step::NextRun;
        found.lines.push_back(m_keyLines[index]);
        return Step::Next;
    });
    return found;
}

std::size_t HiveIndex::FirstBelow(const HiveSource& source, const Path& folded) const
{
    std::size_t first = npos;
    Search(source, folded, [&](std::size_t index, int, bool prefix) {
        if (!prefix)
            return Step::NextRun;
        first = m_keyLines[index];
        return Step::Stop;
    });
    return first;
}

std::size_t HiveIndex::InsertionPoint(const HiveSource& source, const Path& folded) const
{
    std::size_t point = npos;
    Search(source, folded, [&](std::size_t index, int order, bool) {
        if (order == 0)
            return Step::Next;
        point = m_keyLines[index];
        return Step::Stop;
    });
    return point;
}

std::size_t HiveIndex::BlockEnd(const HiveSource& source, std::size_t keyLine) const
{
    std::size_t end = source.Size();
    const auto next = std::upper_bound(m_keyLines.begin(), m_keyLines.end(), keyLine);
    if (next != m_keyLines.end())
        end = *next;
    const auto broken = std::upper_bound(m_brokenLines.begin(), m_brokenLines.end(), keyLine);
    if (broken != m_brokenLines.end())
        end = std::min(end, *broken);
    return end;
}

HiveIndex::Path HiveIndex::KeyPath(const HiveSource& source, std::size_t keyLine)
{
    LineReader reader(source, kLineGuess);
    const Name name = NameOfLine(reader.LineAt(keyLine));
    return name.valid ? DecodedPath(name) : Path{};
}
