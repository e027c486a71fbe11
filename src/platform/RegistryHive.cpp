#include "platform/RegistryHive.h"

#include "platform/HiveLines.h"
#include "platform/RegistryCase.h"
#include "platform/RegistryEscaping.h"
#include "platform/RegistryValueFormat.h"

#include <algorithm>

namespace {
constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kUnixEpochInSeconds = 11644473600;

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

struct RegistryHive::Content {
    struct ValueLine {
        std::u16string name;
        std::size_t start;
    };
    // One block of the key; positions are in the whole text.
    struct Block {
        std::size_t nameEnd = 0;    // just past the "]" of its key line
        std::size_t keyLineEnd = 0; // the end of the key line's text
        std::size_t bodyStart = 0;  // the start of the next line
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
    std::vector<Block> blocks;
};

struct RegistryHive::Key {
    // Its key lines, in file order.
    std::vector<std::size_t> lines;
    mutable std::unique_ptr<Content> content;
};

RegistryHive::RegistryHive(std::string text) : RegistryHive(HiveSource(std::move(text)))
{
}

RegistryHive::RegistryHive(HiveSource source) : m_source(std::move(source))
{
    m_secondLine = m_source.Size();
    std::string scratch;
    // More than the first line holds when it is the header.
    const std::string_view head = m_source.Read(0, kHeader.size() + 8, scratch);
    const HiveLines::Line first = HiveLines::At(head, 0);
    if (first.next == head.size() && head.find('\n') == std::string_view::npos &&
        head.size() < m_source.Size())
        return;
    if (head.substr(0, first.contentEnd) != kHeader)
        return;
    m_valid = true;
    if (first.contentEnd + 2 == first.next)
        m_newline = "\r\n";
    m_secondLine = first.next;
}

RegistryHive::RegistryHive(RegistryHive&&) noexcept = default;
RegistryHive& RegistryHive::operator=(RegistryHive&&) noexcept = default;
RegistryHive::~RegistryHive() = default;

const HiveIndex& RegistryHive::Index() const
{
    if (!m_index)
        m_index.emplace(m_source, m_secondLine);
    return *m_index;
}

bool RegistryHive::IsWin64() const
{
    return Index().IsWin64();
}

const std::u16string& RegistryHive::RootPath() const
{
    return Index().RootPath();
}

const std::string& RegistryHive::Text() const
{
    return *m_source.All();
}

std::size_t RegistryHive::FindKey(const Path& path) const
{
    Path folded;
    folded.reserve(path.size());
    // Each folded name with its length before it: no two paths share an id.
    std::u16string id;
    for (const std::u16string& name : path) {
        folded.push_back(RegistryCase::Fold(name));
        id += static_cast<char16_t>(name.size() >> 16);
        id += static_cast<char16_t>(name.size() & 0xFFFF);
        id += folded.back();
    }
    if (const auto it = m_found.find(id); it != m_found.end())
        return it->second;
    HiveIndex::Found found = Index().Find(m_source, folded);
    std::size_t key = npos;
    if (found.exists || path.empty()) {
        key = m_keys.size();
        m_keys.push_back({std::move(found.lines), nullptr});
    }
    m_found.emplace(std::move(id), key);
    return key;
}

const RegistryHive::Content& RegistryHive::ContentOf(std::size_t key) const
{
    const Key& record = m_keys[key];
    if (record.content)
        return *record.content;
    auto content = std::make_unique<Content>();
    std::string scratch;
    for (const std::size_t keyLine : record.lines) {
        const std::size_t blockEnd = Index().BlockEnd(m_source, keyLine);
        const std::string_view block = m_source.Read(keyLine, blockEnd - keyLine, scratch);
        const HiveLines::Line head = HiveLines::At(block, 0);
        const std::string_view headText = block.substr(0, head.contentEnd);
        const std::size_t bracket = headText.find('[');
        std::u16string ignored;
        const std::size_t nameEnd =
            bracket == std::string_view::npos
                ? std::string_view::npos
                : RegistryEscaping::Decode(headText, bracket + 1, ']', ignored);
        // Only when the file changed under the index.
        if (nameEnd == std::string_view::npos)
            continue;
        Content::Block parsed;
        parsed.nameEnd = keyLine + nameEnd;
        parsed.keyLineEnd = keyLine + head.contentEnd;
        parsed.bodyStart = keyLine + head.next;
        parsed.optionsEnd = parsed.bodyStart;
        bool inOptions = true;
        std::size_t pos = head.next;
        while (pos < block.size()) {
            const HiveLines::Line line = HiveLines::At(block, pos);
            const std::string_view text = block.substr(line.start, line.contentEnd - line.start);
            const std::size_t p = HiveLines::FirstNonBlank(text);
            const char c = p < text.size() ? text[p] : '\0';
            if (c == '"' || c == '@') {
                inOptions = false;
                RegistryValue value;
                bool isValue;
                std::size_t end;
                bool ranOut;
                pos = HiveLines::ParseValue(block, line.start, value, isValue, &end, &ranOut);
                if (!isValue)
                    continue;
                const std::size_t start = keyLine + line.start;
                parsed.values.push_back({value.name, start});
                parsed.valuesEnd = keyLine + pos;
                parsed.valuesOpen = ranOut;
                std::u16string folded = RegistryCase::Fold(value.name);
                const auto it = content->index.find(folded);
                if (it == content->index.end()) {
                    content->index.emplace(std::move(folded), content->values.size());
                    content->values.push_back(std::move(value));
                    content->lastLine.emplace_back(start, keyLine + end);
                } else {
                    RegistryValue& kept = content->values[it->second];
                    kept.type = value.type;
                    kept.data = std::move(value.data);
                    content->lastLine[it->second] = {start, keyLine + end};
                }
                continue;
            }
            if (c == '#') {
                const std::string_view option = text.substr(p);
                if (option.substr(0, 6) == "#time=" && parsed.timeStart == npos) {
                    parsed.timeStart = keyLine + line.start;
                    parsed.timeEnd = keyLine + line.contentEnd;
                } else if (option.substr(0, 5) == "#link") {
                    content->link = true;
                }
                if (inOptions)
                    parsed.optionsEnd = keyLine + line.next;
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
    // Keys that exist keep the spelling they have: that of their first key line.
    Path spelled = path;
    Path folded;
    for (std::size_t i = 0; i < path.size(); ++i) {
        folded.push_back(RegistryCase::Fold(path[i]));
        const std::size_t first = Index().FirstBelow(m_source, folded);
        if (first == HiveIndex::npos)
            break;
        const Path written = HiveIndex::KeyPath(m_source, first);
        if (i < written.size())
            spelled[i] = written[i];
    }
    for (std::size_t i = folded.size(); i < path.size(); ++i)
        folded.push_back(RegistryCase::Fold(path[i]));
    const std::string block = NewBlockText(spelled, value, now);

    // Wine's order: depth first, siblings compared without regard to case.
    const std::size_t before = Index().InsertionPoint(m_source, folded);
    const std::string& text = Text();
    if (before != HiveIndex::npos)
        return ApplyEdits(text, {{before, before, block + m_newline, true}}, m_newline);
    return ApplyEdits(text, {{text.size(), text.size(), m_newline + block, true}}, m_newline);
}

std::string RegistryHive::WithKey(const Path& path, std::uint64_t now) const
{
    // A file is edited as a text read whole, so that the edit matches what it replaces.
    if (m_source.IsFile())
        return RegistryHive(HiveSource(m_source.All())).WithKey(path, now);
    if (FindKey(path) != npos)
        return Text();
    return InsertNewKey(path, nullptr, now);
}

std::string RegistryHive::WithValue(const Path& path, const RegistryValue& value,
                                    std::uint64_t now) const
{
    if (m_source.IsFile())
        return RegistryHive(HiveSource(m_source.All())).WithValue(path, value, now);
    const std::size_t key = FindKey(path);
    if (key == npos || m_keys[key].lines.empty())
        return InsertNewKey(path, &value, now);

    const Content& content = ContentOf(key);
    const Content::Block& first = content.blocks.front();
    std::vector<Edit> edits;
    edits.push_back({first.nameEnd, first.keyLineEnd, " " + BracketSeconds(now)});
    const std::string time = "#time=" + Hex(now);
    if (first.timeStart != npos)
        edits.push_back({first.timeStart, first.timeEnd, time});
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
        for (const Content::ValueLine& existing : first.values) {
            if (RegistryCase::Compare(existing.name, value.name) > 0) {
                at = existing.start;
                break;
            }
        }
        std::string lines = line + m_newline;
        if (at == npos) {
            at = first.values.empty() ? first.optionsEnd : first.valuesEnd;
            // An empty line ends the hex data before it.
            if (!first.values.empty() && first.valuesOpen)
                lines.insert(0, m_newline);
        }
        edits.push_back({at, at, std::move(lines), true});
    }
    return ApplyEdits(Text(), std::move(edits), m_newline);
}
