#include "platform/RegistryHive.h"

#include "platform/RegistryCase.h"
#include "platform/RegistryEscaping.h"
#include "platform/RegistryValueFormat.h"

#include <algorithm>
#include <functional>

namespace {
constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::string_view kRootComment = ";; All keys relative to ";
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kUnixEpochInSeconds = 11644473600;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

struct Line {
    std::size_t start;
    std::size_t contentEnd;
    std::size_t next;
};

Line LineAt(const std::string& text, std::size_t pos)
{
    const std::size_t newline = text.find('\n', pos);
    if (newline == std::string::npos)
        return {pos, text.size(), text.size()};
    std::size_t contentEnd = newline;
    if (contentEnd > pos && text[contentEnd - 1] == '\r')
        --contentEnd;
    return {pos, contentEnd, newline + 1};
}

std::size_t FirstNonBlank(std::string_view line)
{
    std::size_t p = 0;
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t' || line[p] == '\v' ||
                               line[p] == '\f' || line[p] == '\r'))
        ++p;
    return p;
}

int ComparePaths(const RegistryHive::Path& a, const RegistryHive::Path& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (const int c = RegistryCase::Compare(a[i], b[i]))
            return c;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string Hex(std::uint64_t value)
{
    std::string out;
    RegistryEscaping::AppendNumber(out, value, 16, 1);
    return out;
}

// Wine prints the key's time in whole Unix seconds as an unsigned 32-bit number.
std::string BracketSeconds(std::uint64_t fileTime)
{
    const std::uint64_t seconds = fileTime / kTicksPerSecond - kUnixEpochInSeconds;
    return std::to_string(static_cast<std::uint32_t>(seconds));
}

struct Edit {
    std::size_t start;
    std::size_t end;
    std::string text;
    // Whole lines inserted: they start on a line of their own.
    bool lines = false;
};

std::string ApplyEdits(const std::string& text, std::vector<Edit> edits, std::string_view newline)
{
    // Lines inserted where a replaced line starts go before it; replacing first would skip
    // back over the replaced text.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        return a.start != b.start ? a.start < b.start : a.end < b.end;
    });
    std::string out;
    out.reserve(text.size() + 256);
    std::size_t pos = 0;
    for (const Edit& edit : edits) {
        out.append(text, pos, edit.start - pos);
        // Lines added after a last line that has no line break.
        if (edit.lines && edit.start == text.size() && !out.empty() && out.back() != '\n')
            out += newline;
        out += edit.text;
        pos = edit.end;
    }
    out.append(text, pos, std::string::npos);
    return out;
}
} // namespace

struct RegistryHive::Block {
    std::size_t keyLine;    // start of the "[...]" line
    std::size_t nameEnd;    // just past its "]"
    std::size_t keyLineEnd; // end of the line's text
    std::size_t bodyStart;  // start of the next line
    std::size_t end;        // start of the next key line, or the end of the file
    std::uint32_t key;
    std::uint32_t nextOfKey = kNone; // the key's next block, when it appears again
};

struct RegistryHive::Content {
    struct ValueLine {
        std::u16string name;
        std::size_t start;
    };
    struct BlockContent {
        std::size_t timeStart = npos;
        std::size_t timeEnd = npos;
        std::size_t optionsEnd = npos;
        std::size_t valuesEnd = npos;
        // The last value's hex data ends in a backslash at the end of the file, so Wine would
        // read a line added after it as more of that data.
        bool valuesOpen = false;
        std::vector<ValueLine> values;
    };
    bool link = false;
    std::vector<RegistryValue> values;
    // Where the line that decided each value lies: [start, end of its text).
    std::vector<std::pair<std::size_t, std::size_t>> lastLine;
    std::unordered_map<std::u16string, std::size_t> index;
    std::vector<BlockContent> blocks;
};

struct RegistryHive::Key {
    std::u16string name;
    std::uint32_t parent = 0;
    std::uint32_t firstBlock = kNone;
    std::uint32_t lastBlock = kNone;
    mutable std::unique_ptr<Content> content;
};

std::size_t RegistryHive::ChildNameHash::operator()(const ChildNameView& name) const
{
    return std::hash<std::u16string_view>{}(name.folded) ^
           (std::size_t{name.parent} * 0x9E3779B97F4A7C15u);
}

RegistryHive::RegistryHive(std::string text) : m_text(std::move(text))
{
    Scan();
}

RegistryHive::RegistryHive(RegistryHive&&) noexcept = default;
RegistryHive& RegistryHive::operator=(RegistryHive&&) noexcept = default;
RegistryHive::~RegistryHive() = default;

void RegistryHive::Scan()
{
    m_keys.emplace_back();
    const Line first = LineAt(m_text, 0);
    if (std::string_view(m_text).substr(0, first.contentEnd) != kHeader)
        return;
    m_valid = true;
    if (first.contentEnd + 2 == first.next)
        m_newline = "\r\n";

    bool inHeader = true;
    std::size_t current = npos;
    std::size_t pos = first.next;
    // Wine writes keys depth first, so a key line mostly repeats the path of the one before.
    std::u16string name;
    Path previousPath;
    std::vector<std::uint32_t> previousKeys;
    m_children.reserve(m_text.size() / 256);
    while (pos < m_text.size()) {
        const Line line = LineAt(m_text, pos);
        const std::string_view content(m_text.data() + line.start, line.contentEnd - line.start);
        const std::size_t p = FirstNonBlank(content);
        const char c = p < content.size() ? content[p] : '\0';
        pos = line.next;
        if (c == '[') {
            inHeader = false;
            if (current != npos)
                m_blocks[current].end = line.start;
            current = npos;
            name.clear();
            const std::size_t nameEnd = RegistryEscaping::Decode(content, p + 1, ']', name);
            if (nameEnd == std::string_view::npos)
                continue; // Wine drops the values that follow, up to the next key.
            std::uint32_t key = 0;
            std::size_t depth = 0;
            bool same = true;
            for (std::size_t start = 0; start <= name.size();) {
                std::size_t end = name.find(u'\\', start);
                if (end == std::u16string::npos)
                    end = name.size();
                const std::u16string_view component(name.data() + start, end - start);
                start = end + 1;
                if (component.empty())
                    continue;
                if (same && depth < previousPath.size() && previousPath[depth] == component) {
                    key = previousKeys[depth++];
                    continue;
                }
                if (same) {
                    previousPath.resize(depth);
                    previousKeys.resize(depth);
                    same = false;
                }
                key = EnsureChild(key, component);
                previousPath.emplace_back(component);
                previousKeys.push_back(key);
                ++depth;
            }
            if (same) {
                previousPath.resize(depth);
                previousKeys.resize(depth);
            }

            const auto index = static_cast<std::uint32_t>(m_blocks.size());
            current = index;
            m_blocks.push_back(
                {line.start, line.start + nameEnd, line.contentEnd, line.next, m_text.size(), key});
            Key& record = m_keys[key];
            if (record.firstBlock == kNone)
                record.firstBlock = index;
            else
                m_blocks[record.lastBlock].nextOfKey = index;
            record.lastBlock = index;
        } else if ((c == '"' || c == '@') && current != npos) {
            // Only hex data goes on over several lines.
            if (content.find('\\') != std::string_view::npos &&
                content.find("hex") != std::string_view::npos) {
                RegistryValue ignored;
                bool isValue;
                pos = ParseValueLine(line.start, ignored, isValue, nullptr, nullptr);
            }
        } else if (inHeader) {
            const std::string_view rest = content.substr(p);
            if (rest == "#arch=win64") {
                m_win64 = true;
            } else if (rest.substr(0, kRootComment.size()) == kRootComment) {
                std::u16string root;
                const std::string_view escaped = rest.substr(kRootComment.size());
                std::string quoted(escaped);
                quoted += '"';
                RegistryEscaping::Decode(quoted, 0, '"', root);
                m_rootPath = u"\\" + root;
            }
        }
    }
}

std::uint32_t RegistryHive::FindChild(std::uint32_t parent, std::u16string_view name) const
{
    RegistryCase::Fold(name, m_folded);
    const auto it = m_children.find(ChildNameView{parent, m_folded});
    return it == m_children.end() ? kNone : it->second;
}

std::uint32_t RegistryHive::EnsureChild(std::uint32_t parent, std::u16string_view name)
{
    if (const std::uint32_t found = FindChild(parent, name); found != kNone)
        return found;
    const auto index = static_cast<std::uint32_t>(m_keys.size());
    m_children.emplace(ChildName{parent, m_folded}, index);
    m_keys.emplace_back();
    m_keys.back().name = name;
    m_keys.back().parent = parent;
    return index;
}

std::size_t RegistryHive::FindKey(const Path& path) const
{
    std::uint32_t key = 0;
    for (const std::u16string& name : path) {
        key = FindChild(key, name);
        if (key == kNone)
            return npos;
    }
    return key;
}

RegistryHive::Path RegistryHive::KeyPath(std::size_t key) const
{
    Path path;
    for (; key != 0; key = m_keys[key].parent)
        path.push_back(m_keys[key].name);
    std::reverse(path.begin(), path.end());
    return path;
}

std::size_t RegistryHive::ParseValueLine(std::size_t lineStart, RegistryValue& value, bool& isValue,
                                         std::size_t* textEnd, bool* ranOut) const
{
    const Line line = LineAt(m_text, lineStart);
    std::size_t next = line.next;
    std::size_t end = line.contentEnd;
    std::size_t previousEnd = end;
    std::string_view last;
    if (ranOut)
        *ranOut = false;
    const auto nextLine = [this, &next, &end, &previousEnd, &last, ranOut](std::string_view& out) {
        if (next >= m_text.size()) {
            if (ranOut)
                *ranOut = true;
            return false;
        }
        const Line following = LineAt(m_text, next);
        out = std::string_view(m_text.data() + following.start,
                               following.contentEnd - following.start);
        last = out;
        next = following.next;
        previousEnd = end;
        end = following.contentEnd;
        return true;
    };
    const std::string_view content(m_text.data() + line.start, line.contentEnd - line.start);
    isValue = RegistryValueFormat::Parse(content, nextLine, value) !=
              RegistryValueFormat::Outcome::NoValue;
    // An empty or comment line that ended hex data is not part of the value's text.
    const std::size_t p = FirstNonBlank(last);
    if (last.data() && (p == last.size() || last[p] == ';'))
        end = previousEnd;
    if (textEnd)
        *textEnd = end;
    return next;
}

const RegistryHive::Content& RegistryHive::ContentOf(std::size_t key) const
{
    const Key& record = m_keys[key];
    if (record.content)
        return *record.content;
    auto content = std::make_unique<Content>();
    for (std::uint32_t index = record.firstBlock; index != kNone;
         index = m_blocks[index].nextOfKey) {
        const Block& block = m_blocks[index];
        Content::BlockContent parsed;
        parsed.optionsEnd = block.bodyStart;
        bool inOptions = true;
        std::size_t pos = block.bodyStart;
        while (pos < block.end) {
            const Line line = LineAt(m_text, pos);
            const std::string_view text(m_text.data() + line.start, line.contentEnd - line.start);
            const std::size_t p = FirstNonBlank(text);
            const char c = p < text.size() ? text[p] : '\0';
            if (c == '"' || c == '@') {
                inOptions = false;
                RegistryValue value;
                bool isValue;
                std::size_t end;
                bool ranOut;
                pos = ParseValueLine(line.start, value, isValue, &end, &ranOut);
                if (!isValue)
                    continue;
                parsed.values.push_back({value.name, line.start});
                parsed.valuesEnd = pos;
                parsed.valuesOpen = ranOut;
                std::u16string folded = RegistryCase::Fold(value.name);
                const auto it = content->index.find(folded);
                if (it == content->index.end()) {
                    content->index.emplace(std::move(folded), content->values.size());
                    content->values.push_back(std::move(value));
                    content->lastLine.emplace_back(line.start, end);
                } else {
                    RegistryValue& kept = content->values[it->second];
                    kept.type = value.type;
                    kept.data = std::move(value.data);
                    content->lastLine[it->second] = {line.start, end};
                }
                continue;
            }
            if (c == '#') {
                const std::string_view option = text.substr(p);
                if (option.substr(0, 6) == "#time=" && parsed.timeStart == npos) {
                    parsed.timeStart = line.start;
                    parsed.timeEnd = line.contentEnd;
                } else if (option.substr(0, 5) == "#link") {
                    content->link = true;
                }
                if (inOptions)
                    parsed.optionsEnd = line.next;
            } else {
                inOptions = false;
            }
            pos = line.next;
        }
        content->blocks.push_back(std::move(parsed));
    }
    record.content = std::move(content);
    return *record.content;
}

bool RegistryHive::IsLink(std::size_t key) const
{
    return ContentOf(key).link;
}

const RegistryValue* RegistryHive::FindValue(std::size_t key, std::u16string_view name) const
{
    const Content& content = ContentOf(key);
    const auto it = content.index.find(RegistryCase::Fold(name));
    if (it == content.index.end())
        return nullptr;
    return &content.values[it->second];
}

std::string RegistryHive::NewBlockText(const Path& path, const RegistryValue* value,
                                       std::uint64_t now) const
{
    std::string out = "[";
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0)
            out += "\\\\";
        RegistryEscaping::Append(out, path[i], RegistryEscaping::Context::KeyName);
    }
    out += "] " + BracketSeconds(now) + m_newline;
    out += "#time=" + Hex(now) + m_newline;
    if (value)
        out += RegistryValueFormat::Format(*value, m_newline) + m_newline;
    return out;
}

std::string RegistryHive::InsertNewKey(const Path& path, const RegistryValue* value,
                                       std::uint64_t now) const
{
    // Keys that exist keep the spelling they have.
    Path spelled = path;
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const std::uint32_t child = FindChild(key, path[i]);
        if (child == kNone)
            break;
        key = child;
        spelled[i] = m_keys[key].name;
    }
    const std::string block = NewBlockText(spelled, value, now);

    // Wine's order: depth first, siblings compared without regard to case.
    std::size_t lastKey = npos;
    int lastOrder = 0;
    for (const Block& existing : m_blocks) {
        if (existing.key != lastKey) {
            lastKey = existing.key;
            lastOrder = ComparePaths(KeyPath(existing.key), path);
        }
        if (lastOrder > 0)
            return ApplyEdits(
                m_text, {{existing.keyLine, existing.keyLine, block + m_newline, true}}, m_newline);
    }
    return ApplyEdits(m_text, {{m_text.size(), m_text.size(), m_newline + block, true}}, m_newline);
}

std::string RegistryHive::WithKey(const Path& path, std::uint64_t now) const
{
    if (FindKey(path) != npos)
        return m_text;
    return InsertNewKey(path, nullptr, now);
}

std::string RegistryHive::WithValue(const Path& path, const RegistryValue& value,
                                    std::uint64_t now) const
{
    const std::size_t key = FindKey(path);
    if (key == npos || m_keys[key].firstBlock == kNone)
        return InsertNewKey(path, &value, now);

    const Content& content = ContentOf(key);
    const Block& first = m_blocks[m_keys[key].firstBlock];
    const Content::BlockContent& firstContent = content.blocks.front();
    std::vector<Edit> edits;
    edits.push_back({first.nameEnd, first.keyLineEnd, " " + BracketSeconds(now)});
    const std::string time = "#time=" + Hex(now);
    if (firstContent.timeStart != npos)
        edits.push_back({firstContent.timeStart, firstContent.timeEnd, time});
    else
        edits.push_back({first.bodyStart, first.bodyStart, time + m_newline, true});

    const auto it = content.index.find(RegistryCase::Fold(value.name));
    if (it != content.index.end()) {
        // The value keeps the spelling of its name.
        RegistryValue renamed = value;
        renamed.name = content.values[it->second].name;
        const auto [start, end] = content.lastLine[it->second];
        edits.push_back({start, end, RegistryValueFormat::Format(renamed, m_newline)});
    } else {
        const std::string line = RegistryValueFormat::Format(value, m_newline);
        std::size_t at = npos;
        for (const Content::ValueLine& existing : firstContent.values) {
            if (RegistryCase::Compare(existing.name, value.name) > 0) {
                at = existing.start;
                break;
            }
        }
        std::string lines = line + m_newline;
        if (at == npos) {
            at = firstContent.values.empty() ? firstContent.optionsEnd : firstContent.valuesEnd;
            // An empty line ends the hex data before it.
            if (!firstContent.values.empty() && firstContent.valuesOpen)
                lines.insert(0, m_newline);
        }
        edits.push_back({at, at, std::move(lines), true});
    }
    return ApplyEdits(m_text, std::move(edits), m_newline);
}
