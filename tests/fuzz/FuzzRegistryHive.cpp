#include "platform/HiveIndex.h"
#include "platform/HiveLines.h"
#include "platform/RegistryCase.h"
#include "platform/RegistryEscaping.h"
#include "platform/RegistryHive.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A Wine registry file from any bytes, and one edit of it: a value stored (or a key added) at a
// key path of the file or a new one. The edited file must read the stored value back exactly,
// and every value readable before elsewhere must read the same (but one whose hex data runs
// off the end of the file, which anything added after it ends). Before and after the edit, the
// hive must find what a plain reading of every line finds, and its index of key lines must not
// depend on how much of the file it reads at a time. The edit is chosen by the last bytes of the
// input, so that real files serve as seeds whole.
namespace {
using Path = RegistryHive::Path;

struct Named {
    Path path;
    std::u16string name;
};

// The units names are made of: ASCII, the escaped ones, NUL, and a few past ASCII that fold.
constexpr char16_t kUnits[16] = {u'a', u'B', u'z', u'[',   u']',   u'"',   u'\\',  u' ',
                                 u'=', u'0', 0,    0x00E9, 0x00C9, 0x20AC, 0x0130, 0xD83D};

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// The key paths of the file's key lines and the value names of its value lines, as a rough
// reading sees them; the hive decides what they are.
void Collect(const std::string& text, std::vector<Path>& keys, std::vector<Named>& values)
{
    std::optional<Path> current;
    for (std::size_t start = 0; start < text.size() && values.size() < 4096;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        const std::size_t p = line.find_first_not_of(" \t\r\v\f");
        if (p == std::string_view::npos)
            continue;
        std::u16string name;
        if (line[p] == '[') {
            current.reset();
            if (RegistryEscaping::Decode(line, p + 1, ']', name) != std::string_view::npos) {
                current = HiveIndex::SplitPath(name);
                keys.push_back(*current);
            }
        } else if (current && (line[p] == '"' || line[p] == '@')) {
            if (line[p] == '"')
                RegistryEscaping::Decode(line, p + 1, '"', name);
            values.push_back({*current, name});
        }
    }
}

Path Folded(const Path& path)
{
    Path folded;
    for (const std::u16string& name : path)
        folded.push_back(RegistryCase::Fold(name));
    return folded;
}

// The reader's rules applied line by line to the whole file, every key line decoded: what the
// hive must find.
class Reference {
public:
    explicit Reference(const std::string& text)
    {
        std::optional<Path> current;
        for (std::size_t pos = std::min(text.find('\n'), text.size() - 1) + 1; pos < text.size();) {
            const HiveLines::Line line = HiveLines::At(text, pos);
            const std::string_view content(text.data() + line.start, line.contentEnd - line.start);
            const std::size_t p = HiveLines::FirstNonBlank(content);
            const char c = p < content.size() ? content[p] : '\0';
            pos = line.next;
            if (c == '[') {
                current.reset();
                std::u16string name;
                if (RegistryEscaping::Decode(content, p + 1, ']', name) != std::string_view::npos) {
                    current = Folded(HiveIndex::SplitPath(name));
                    m_keys[*current];
                }
            } else if ((c == '"' || c == '@') && current) {
                RegistryValue value;
                bool isValue;
                bool ranOut;
                pos = HiveLines::ParseValue(text, line.start, value, isValue, nullptr, &ranOut);
                if (!isValue)
                    continue;
                if (ranOut)
                    m_cutShort = {*current, RegistryCase::Fold(value.name)};
                // The last line of a name decides the value; the first, the spelling of its name.
                auto& values = m_keys[*current];
                const auto [it, added] = values.emplace(RegistryCase::Fold(value.name), value);
                if (!added) {
                    it->second.type = value.type;
                    it->second.data = std::move(value.data);
                }
            }
        }
    }

    // A key line names the path or a path below it.
    bool Exists(const Path& folded) const
    {
        const auto it = m_keys.lower_bound(folded);
        return folded.empty() || (it != m_keys.end() && it->first.size() >= folded.size() &&
                                  std::equal(folded.begin(), folded.end(), it->first.begin()));
    }

    std::optional<RegistryValue> Find(const Path& folded, const std::u16string& name) const
    {
        const auto key = m_keys.find(folded);
        if (key == m_keys.end())
            return std::nullopt;
        const auto value = key->second.find(RegistryCase::Fold(name));
        if (value == key->second.end())
            return std::nullopt;
        return value->second;
    }

    // The value whose hex data runs off the end of the file: malformed only because the file
    // ends there, it is ended (with the bytes it has) by whatever an edit adds after it.
    bool CutShort(const Path& folded, const std::u16string& name) const
    {
        return m_cutShort && m_cutShort->path == folded &&
               m_cutShort->name == RegistryCase::Fold(name);
    }

private:
    // Keys by folded path, and their values by folded name.
    std::map<Path, std::map<std::u16string, RegistryValue>> m_keys;
    std::optional<Named> m_cutShort;
};

const RegistryValue* Lookup(const RegistryHive& hive, const Path& path, std::u16string_view name)
{
    const std::size_t key = hive.FindKey(path);
    return key == RegistryHive::npos ? nullptr : hive.FindValue(key, name);
}

std::u16string Name(FuzzedDataProvider& provider, std::size_t length)
{
    std::u16string name;
    for (std::size_t i = 0; i < length; ++i)
        name.push_back(kUnits[provider.ConsumeIntegral<std::uint8_t>() % 16]);
    return name;
}

// The hive against the plain reading, for the keys and values the file names.
void CheckAgainstReference(const std::string& text, const Reference& reference,
                           const RegistryHive& hive, const std::vector<Path>& keys,
                           const std::vector<Named>& values)
{
    for (const Path& path : keys) {
        if ((hive.FindKey(path) != RegistryHive::npos) != reference.Exists(Folded(path)))
            Fail("a key is found otherwise than by the plain reading");
    }
    for (const Named& named : values) {
        const RegistryValue* found = Lookup(hive, named.path, named.name);
        const std::optional<RegistryValue> expected =
            reference.Find(Folded(named.path), named.name);
        if (!found != !expected)
            Fail("a value is found otherwise than by the plain reading");
        if (found && (found->name != expected->name || found->type != expected->type ||
                      found->data != expected->data))
            Fail("a value reads otherwise than by the plain reading");
    }
    // The same key lines whatever the size of the pieces read.
    const std::size_t secondLine = std::min(text.find('\n'), text.size() - 1) + 1;
    const HiveSource source(text);
    const HiveIndex whole(source, secondLine);
    const HiveIndex pieces(source, secondLine, 7);
    for (const Path& path : keys) {
        const HiveIndex::Found a = whole.Find(source, Folded(path));
        const HiveIndex::Found b = pieces.Find(source, Folded(path));
        if (a.exists != b.exists || a.lines != b.lines)
            Fail("the key lines depend on the size of the pieces read");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const auto mode = provider.ConsumeIntegral<std::uint8_t>();
    const auto keyChoice = provider.ConsumeIntegral<std::uint16_t>();
    const auto valueChoice = provider.ConsumeIntegral<std::uint16_t>();
    constexpr std::uint32_t kTypes[8] = {1, 2, 7, 3, 4, 0, 11, 0x12345};
    const std::uint32_t type = kTypes[provider.ConsumeIntegral<std::uint8_t>() % 8];
    std::string valueData(provider.ConsumeIntegralInRange<std::size_t>(0, 40), '\0');
    for (char& byte : valueData)
        byte = static_cast<char>(provider.ConsumeIntegral<std::uint8_t>());
    const std::u16string newName = Name(provider, provider.ConsumeIntegralInRange(0, 4));
    const std::u16string newKey = Name(provider, provider.ConsumeIntegralInRange(1, 3));
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const RegistryHive hive(text);
    std::vector<Path> keys;
    std::vector<Named> values;
    Collect(text, keys, values);
    std::vector<std::optional<RegistryValue>> before;
    for (const Named& value : values) {
        const RegistryValue* found = Lookup(hive, value.path, value.name);
        before.push_back(found ? std::optional<RegistryValue>(*found) : std::nullopt);
    }
    if (!hive.Valid())
        return 0;
    const Reference reference(text);
    CheckAgainstReference(text, reference, hive, keys, values);

    // Where the edit goes: a key of the file, a new key below it, or a new top-level key.
    Path path;
    if ((mode & 1) && !keys.empty())
        path = keys[keyChoice % keys.size()];
    if (path.empty() || (mode & 2)) {
        std::u16string component = newKey;
        for (char16_t& unit : component) {
            if (unit == u'\\')
                unit = u'_'; // key names never hold a backslash
        }
        path.push_back(component);
    }
    RegistryValue value{newName, type, valueData};
    // Or a value of the file, under another case.
    if ((mode & 4) && !values.empty()) {
        const Named& existing = values[valueChoice % values.size()];
        path = existing.path;
        value.name = existing.name;
        for (char16_t& unit : value.name) {
            if (unit >= u'a' && unit <= u'z')
                unit = static_cast<char16_t>(unit - 0x20);
        }
    }
    const bool keyOnly = (mode & 0x18) == 0x18;
    const std::uint64_t now = 0x1dd882da54b0a2aULL;
    const RegistryHive edited(keyOnly ? hive.WithKey(path, now) : hive.WithValue(path, value, now));

    if (!edited.Valid())
        Fail("the edited file is no longer a hive");
    std::vector<Path> editedKeys;
    std::vector<Named> editedValues;
    Collect(edited.Text(), editedKeys, editedValues);
    CheckAgainstReference(edited.Text(), Reference(edited.Text()), edited, editedKeys,
                          editedValues);
    if (edited.FindKey(path) == RegistryHive::npos)
        Fail("the edited key is missing");
    const Path target = Folded(path);
    const std::u16string targetName = RegistryCase::Fold(value.name);
    if (!keyOnly) {
        const RegistryValue* stored = Lookup(edited, path, value.name);
        if (!stored)
            Fail("the stored value is missing");
        if (stored->type != value.type || stored->data != value.data)
            Fail("the stored value reads back otherwise");
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!before[i] || reference.CutShort(Folded(values[i].path), values[i].name))
            continue;
        if (!keyOnly && RegistryCase::Fold(values[i].name) == targetName &&
            Folded(values[i].path) == target)
            continue;
        const RegistryValue* after = Lookup(edited, values[i].path, values[i].name);
        if (!after)
            Fail("a value elsewhere was lost");
        if (after->name != before[i]->name || after->type != before[i]->type ||
            after->data != before[i]->data)
            Fail("a value elsewhere changed");
    }
    return 0;
}
