#include "platform/RegistryHive.h"

#include "platform/RegistryEscaping.h"

#include "HiveFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
using Path = RegistryHive::Path;
constexpr std::uint64_t kNow = 0x1dd882da54b0a2aULL; // 2026-12-09 22:29:11 UTC

std::string Sz(std::u16string_view text)
{
    return HiveFiles::Utf16(text) + std::string(2, '\0');
}

// The file with the block of the key on that line removed (and its empty line before it).
std::string WithoutBlock(const std::string& text, const std::string& keyLine)
{
    const std::size_t start = text.find("\n\n" + keyLine);
    const std::size_t end = text.find("\n\n", start + 2);
    return text.substr(0, start) + text.substr(end == std::string::npos ? text.size() : end);
}

const RegistryValue* Value(const RegistryHive& hive, const Path& path, std::u16string_view name)
{
    const std::size_t key = hive.FindKey(path);
    return key == RegistryHive::npos ? nullptr : hive.FindValue(key, name);
}

struct HeaderCase {
    std::string text;
    bool valid;
};

class RegistryHiveHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(RegistryHiveHeader, OnlyWinesFirstLineMakesAHive)
{
    EXPECT_EQ(RegistryHive(GetParam().text).Valid(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Files, RegistryHiveHeader,
                         testing::Values(HeaderCase{"WINE REGISTRY Version 2\n", true},
                                         HeaderCase{"WINE REGISTRY Version 2", true},
                                         HeaderCase{"WINE REGISTRY Version 2\r\n\r\n[A]\r\n", true},
                                         HeaderCase{"\xef\xbb\xbfWINE REGISTRY Version 2\n", false},
                                         HeaderCase{"\nWINE REGISTRY Version 2\n", false},
                                         HeaderCase{"WINE REGISTRY Version 2 \n", false},
                                         HeaderCase{"Windows Registry Editor Version 5.00\r\n",
                                                    false},
                                         HeaderCase{"", false}));

TEST(RegistryHive, ReadsTheHeaderLines)
{
    const RegistryHive machine(HiveFiles::Fixture("system.reg"));
    EXPECT_TRUE(machine.IsWin64());
    EXPECT_EQ(machine.RootPath(), u"\\REGISTRY\\Machine");
    const RegistryHive user(HiveFiles::Fixture("user.reg"));
    EXPECT_EQ(user.RootPath(), u"\\REGISTRY\\User\\S-1-5-21-0-0-0-1000");
    EXPECT_FALSE(RegistryHive("WINE REGISTRY Version 2\n\n#arch=win32\n").IsWin64());
}

// A hand-written file, and the same keys as Wine wrote them back after loading it: every
// value Wine kept must read the same here.
TEST(RegistryHive, ReadsAHandWrittenFileAsWineDid)
{
    const RegistryHive written(HiveFiles::Fixture("handwritten.reg"));
    const RegistryHive rewritten(HiveFiles::Fixture("handwritten.after-wine.reg"));
    ASSERT_TRUE(written.Valid());
    ASSERT_TRUE(rewritten.Valid());
    std::istringstream in(rewritten.Text());
    Path path;
    int compared = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty())
            continue;
        if (line[0] == '[') {
            std::u16string name;
            RegistryEscaping::Decode(line, 1, ']', name);
            path.clear();
            for (std::size_t start = 0, end; start < name.size(); start = end + 1) {
                end = name.find(u'\\', start);
                if (end == std::u16string::npos)
                    end = name.size();
                path.push_back(name.substr(start, end - start));
            }
            continue;
        }
        if (line[0] != '"' && line[0] != '@')
            continue;
        const std::size_t key = rewritten.FindKey(path);
        ASSERT_NE(key, RegistryHive::npos) << line;
        std::u16string name;
        if (line[0] == '"')
            RegistryEscaping::Decode(line, 1, '"', name);
        const RegistryValue* expected = rewritten.FindValue(key, name);
        const RegistryValue* actual = Value(written, path, name);
        ASSERT_NE(expected, nullptr) << line;
        ASSERT_NE(actual, nullptr) << line;
        EXPECT_EQ(actual->type, expected->type) << line;
        EXPECT_EQ(actual->data, expected->data) << line;
        EXPECT_EQ(actual->name, expected->name) << line;
        ++compared;
    }
    EXPECT_GE(compared, 25);

    const Path escaped{u"Software", u"HandWritten", u"Br]acket", u"Q\"uote", u"Uni\u00e9\u20ac"};
    EXPECT_NE(Value(written, escaped, u"v"), nullptr);
    // A key whose line has no "]" is not created, and the values after it belong to no key.
    EXPECT_EQ(written.FindKey({u"Software", u"HandWritten", u"Unterminated"}), RegistryHive::npos);
    EXPECT_EQ(Value(written, {u"Software", u"HandWritten", u"ClassAndTime"}, u"InBadKey"), nullptr);
    // The same key under another case is one key.
    EXPECT_NE(Value(written, {u"SOFTWARE", u"Battle.net", u"Configuration"}, u"mergedvalue"),
              nullptr);
}

TEST(RegistryHive, MergesKeysAndValuesWithoutRegardToCase)
{
    const RegistryHive hive("WINE REGISTRY Version 2\r\n"
                            "\r\n"
                            "[Software\\\\Zeta\\\\\\x00c4b] 1\r\n"
                            "\"Dup\"=\"first\"\r\n"
                            "\"\\x00e4B\"=\"x\"\r\n"
                            "\r\n"
                            "[software\\\\zeta\\\\\\x00e4B]\r\n"
                            "\"dup\"=\"second\"\r\n"
                            "\"Bad\"=\"ok\"\r\n"
                            "\"bad\"=qword:1\r\n"
                            "\"Sigma\"=\"\\x3a3\"\r\n");
    ASSERT_TRUE(hive.Valid());
    const Path path{u"SOFTWARE", u"ZETA", u"\u00c4B"};
    const RegistryValue* dup = Value(hive, path, u"DUP");
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(dup->name, u"Dup");
    EXPECT_EQ(dup->data, Sz(u"second"));
    // A malformed line still decides the value: an empty REG_NONE.
    const RegistryValue* bad = Value(hive, path, u"BAD");
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->type, 0u);
    EXPECT_EQ(bad->data, "");
    EXPECT_NE(Value(hive, path, u"\u00e4b"), nullptr);
    EXPECT_NE(Value(hive, path, u"sIGMA"), nullptr);
    // Parents of written keys exist; U+0130 is not "i".
    EXPECT_NE(hive.FindKey({u"software"}), RegistryHive::npos);
    EXPECT_NE(hive.FindKey({}), RegistryHive::npos);
    const RegistryHive turkish("WINE REGISTRY Version 2\n[A\\\\\\x130]\n");
    EXPECT_NE(turkish.FindKey({u"a", u"\u0130"}), RegistryHive::npos);
    EXPECT_EQ(turkish.FindKey({u"a", u"i"}), RegistryHive::npos);
}

struct BlockCase {
    const char* keyLine;
    Path path;
    RegistryValue value; // empty name and type 0 for a key without values
};

class RegistryHiveNewKey : public testing::TestWithParam<BlockCase> {};

// Removing a key that Wine wrote and adding it again gives Wine's file back: the block goes
// to Wine's sorted position, in Wine's form. Only the times differ.
TEST_P(RegistryHiveNewKey, GoesWhereWinePutsIt)
{
    const std::string original = HiveFiles::Fixture("user.reg");
    const BlockCase& c = GetParam();
    const RegistryHive without(WithoutBlock(original, c.keyLine));
    ASSERT_EQ(without.FindKey(c.path), RegistryHive::npos);
    const std::string added = c.value.type == 0 ? without.WithKey(c.path, kNow)
                                                : without.WithValue(c.path, c.value, kNow);
    EXPECT_EQ(HiveFiles::WithoutTimes(added), HiveFiles::WithoutTimes(original));
    EXPECT_NE(added.find("] 1796855751\n#time=1dd882da54b0a2a\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(WineSamples, RegistryHiveNewKey,
                         testing::Values(BlockCase{"[Software\\\\SortTest\\\\aa]",
                                                   {u"Software", u"SortTest", u"aa"},
                                                   {u"v", 1, Sz(u"aa")}},
                                         BlockCase{"[Software\\\\SortTest\\\\0]",
                                                   {u"Software", u"SortTest", u"0"},
                                                   {u"v", 1, Sz(u"0")}},
                                         BlockCase{"[Software\\\\SortTest\\\\\\[br]",
                                                   {u"Software", u"SortTest", u"[br"},
                                                   {u"v", 1, Sz(u"[br")}},
                                         BlockCase{"[Software\\\\SortTest\\\\\\xc4x]",
                                                   {u"Software", u"SortTest", u"\u00c4x"},
                                                   {u"v", 1, Sz(u"\u00c4x")}},
                                         BlockCase{"[Software\\\\SortTest2\\\\\\x130]",
                                                   {u"Software", u"SortTest2", u"\u0130"},
                                                   {u"v", 1, Sz(u"\u0130")}},
                                         BlockCase{"[Software\\\\SortTest2\\\\\\xff21]",
                                                   {u"Software", u"SortTest2", u"\uff21"},
                                                   {u"v", 1, Sz(u"\uff41")}},
                                         BlockCase{"[Software\\\\RegTest\\\\EmptyLeafNoValues]",
                                                   {u"Software", u"RegTest", u"EmptyLeafNoValues"},
                                                   {}},
                                         BlockCase{"[Software\\\\KeyUni\\\\Cl\\xe9\\x20ac]",
                                                   {u"software", u"KeyUni", u"Cl\u00e9\u20ac"},
                                                   {u"v", 1, Sz(u"1")}},
                                         BlockCase{"[Control Panel\\\\International\\\\",
                                                   {u"Control Panel", u"International",
                                                    u"\U0001F30E\U0001F30F\U0001F30D"},
                                                   {u"Currencies", 1, Sz(u"USD")}}));

struct ValueCase {
    const char* line;
    RegistryValue value;
};

class RegistryHiveNewValue : public testing::TestWithParam<ValueCase> {};

// The same for one value line of a key that Wine wrote.
TEST_P(RegistryHiveNewValue, GoesWhereWinePutsIt)
{
    const std::string original = HiveFiles::Fixture("user.reg");
    const std::string line = std::string(GetParam().line) + "\n";
    const std::size_t at = original.find(line, original.find("[Software\\\\Battle.net"));
    ASSERT_NE(at, std::string::npos);
    const std::string without = original.substr(0, at) + original.substr(at + line.size());
    const Path path{u"Software", u"Battle.net", u"Configuration"};
    const std::string added = RegistryHive(without).WithValue(path, GetParam().value, kNow);
    EXPECT_EQ(HiveFiles::WithoutTimes(added), HiveFiles::WithoutTimes(original));
}

INSTANTIATE_TEST_SUITE_P(
    WineSamples, RegistryHiveNewValue,
    testing::Values(
        ValueCase{"@=\"default value\"", {u"", 1, Sz(u"default value")}},
        ValueCase{"\"Binary\"=hex:00,ff,10,20,7f,80",
                  {u"Binary", 3, std::string("\0\xff\x10\x20\x7f\x80", 6)}},
        ValueCase{"\"Tab\\tand newline\"=\"a\\tb\"", {u"Tab\tand newline", 1, Sz(u"a\tb")}},
        ValueCase{"\"Unicode test\"=\"caf\\xe9 \\xfc \\x20ac \\x160 \\x2122 \\x65e5\\x672c "
                  "\\xd83d\\xde00\"",
                  {u"Unicode test", 1,
                   Sz(u"caf\u00e9 \u00fc \u20ac \u0160 \u2122 \u65e5\u672c \U0001F600")}}));

TEST(RegistryHive, ReplacingAValueChangesOnlyItsLineAndTheKeyTime)
{
    const std::string original = HiveFiles::Fixture("user.reg");
    const RegistryHive hive(original);
    const Path path{u"software", u"battle.net", u"configuration"};
    const std::string list = HiveFiles::Utf16(std::u16string(u"1001\0"
                                                             u"00\0\0",
                                                             9));
    const std::string edited = hive.WithValue(path, {u"battle.net GATEWAYS", 7, list}, kNow);

    std::string expected = original;
    const auto replace = [&expected](const std::string& from, const std::string& to) {
        const std::size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("\"Battle.net gateways\"=str(7):\"1001\\00001\\0uswest.battle.net\\08\\0U.S. West\\0"
            "useast.battle.net\\0-5\\0U.S. East\\0\"",
            "\"Battle.net gateways\"=str(7):\"1001\\00000\\0\"");
    replace("[Software\\\\Battle.net\\\\Configuration] 1796855082\n#time=1dd882c1614899a\n",
            "[Software\\\\Battle.net\\\\Configuration] 1796855751\n#time=1dd882da54b0a2a\n");
    EXPECT_EQ(edited, expected);
    EXPECT_EQ(Value(RegistryHive(edited), path, u"Battle.net gateways")->data, list);
}

TEST(RegistryHive, EditsKeepTheLineEndingsOfTheFile)
{
    const RegistryHive hive("WINE REGISTRY Version 2\r\n;; c\r\n\r\n#arch=win64\r\n\r\n"
                            "[B] 1\r\n\"v\"=\"1\"\r\n");
    const std::string edited = hive.WithValue({u"A"}, {u"x", 3, std::string(30, '\x01')}, kNow);
    EXPECT_EQ(edited,
              "WINE REGISTRY Version 2\r\n;; c\r\n\r\n#arch=win64\r\n\r\n"
              "[A] 1796855751\r\n#time=1dd882da54b0a2a\r\n"
              "\"x\"=hex:01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,01,"
              "\\\r\n  01,01,01,01,01,01,01\r\n\r\n"
              "[B] 1\r\n\"v\"=\"1\"\r\n");
    const std::string second =
        RegistryHive(edited).WithValue({u"b"}, {u"w", 4, std::string("\x01\0\0\0", 4)}, kNow);
    EXPECT_NE(
        second.find(
            "[B] 1796855751\r\n#time=1dd882da54b0a2a\r\n\"v\"=\"1\"\r\n\"w\"=dword:00000001\r\n"),
        std::string::npos);
}

TEST(RegistryHive, AddsToAFileThatEndsWithoutALineBreak)
{
    const RegistryHive hive("WINE REGISTRY Version 2\n\n[A]");
    EXPECT_EQ(hive.WithValue({u"a"}, {u"v", 1, Sz(u"x")}, kNow),
              "WINE REGISTRY Version 2\n\n[A] 1796855751\n#time=1dd882da54b0a2a\n\"v\"=\"x\"\n");
    EXPECT_EQ(hive.WithKey({u"B"}, kNow),
              "WINE REGISTRY Version 2\n\n[A]\n\n[B] 1796855751\n#time=1dd882da54b0a2a\n");
    EXPECT_EQ(hive.WithKey({u"a"}, kNow), hive.Text());
}

TEST(RegistryHive, ReplacesTheLineThatDecidedADuplicatedValue)
{
    const RegistryHive hive(
        "WINE REGISTRY Version 2\n\n[K]\n\"v\"=\"1\"\n\n[Other]\n\"v\"=\"o\"\n\n"
        "[k]\n\"V\"=\"2\"\n\"v\"=hex:\\\n  01\n");
    const std::string edited = hive.WithValue({u"K"}, {u"v", 1, Sz(u"3")}, kNow);
    EXPECT_EQ(edited,
              "WINE REGISTRY Version 2\n\n[K] 1796855751\n#time=1dd882da54b0a2a\n\"v\"=\"1\"\n\n"
              "[Other]\n\"v\"=\"o\"\n\n[k]\n\"V\"=\"2\"\n\"v\"=\"3\"\n");
    EXPECT_EQ(Value(RegistryHive(edited), {u"k"}, u"v")->data, Sz(u"3"));
}

struct EditCase {
    const char* name;
    std::string text;
    Path path;
    RegistryValue value;
    std::string expected;
};

void PrintTo(const EditCase& c, std::ostream* out)
{
    *out << c.name;
}

class RegistryHiveEdit : public testing::TestWithParam<EditCase> {};

// Hand-edited blocks whose lines are not in Wine's order: the edit touches only what it must.
TEST_P(RegistryHiveEdit, KeepsEveryOtherLine)
{
    const EditCase& c = GetParam();
    const std::string edited = RegistryHive(c.text).WithValue(c.path, c.value, kNow);
    EXPECT_EQ(edited, c.expected);
    const RegistryHive reread(edited);
    const RegistryValue* value = Value(reread, c.path, c.value.name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, c.value.data);
}

INSTANTIATE_TEST_SUITE_P(
    HandEdited, RegistryHiveEdit,
    testing::Values(
        EditCase{"TimeAfterTheValues",
                 "WINE REGISTRY Version 2\n\n[K] 1\n\"a\"=\"1\"\n#time=1\n\n[L]\n\"x\"=\"y\"\n",
                 {u"K"},
                 {u"b", 1, Sz(u"2")},
                 "WINE REGISTRY Version 2\n\n[K] 1796855751\n\"a\"=\"1\"\n\"b\"=\"2\"\n"
                 "#time=1dd882da54b0a2a\n\n[L]\n\"x\"=\"y\"\n"},
        EditCase{"TimeAfterTheValuesCrlf",
                 "WINE REGISTRY Version 2\r\n\r\n[K]\r\n\"a\"=\"1\"\r\n#time=1\r\n",
                 {u"k"},
                 {u"b", 1, Sz(u"2")},
                 "WINE REGISTRY Version 2\r\n\r\n[K] 1796855751\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n"
                 "#time=1dd882da54b0a2a\r\n"},
        EditCase{"HexEndedByAComment",
                 "WINE REGISTRY Version 2\n\n[K]\n#time=1\n\"a\"=hex:01,\\\n;note\n",
                 {u"K"},
                 {u"a", 1, Sz(u"2")},
                 "WINE REGISTRY Version 2\n\n[K] 1796855751\n#time=1dd882da54b0a2a\n"
                 "\"a\"=\"2\"\n;note\n"},
        EditCase{"HexEndedByAnEmptyLine",
                 "WINE REGISTRY Version 2\n\n[K]\n#time=1\n\"a\"=hex:01,\\\n\n[L]\n\"x\"=\"y\"\n",
                 {u"K"},
                 {u"a", 1, Sz(u"2")},
                 "WINE REGISTRY Version 2\n\n[K] 1796855751\n#time=1dd882da54b0a2a\n"
                 "\"a\"=\"2\"\n\n[L]\n\"x\"=\"y\"\n"},
        EditCase{"HexGoingOnPastTheEnd",
                 "WINE REGISTRY Version 2\n\n[K]\n\"a\"=hex:01,\\\n",
                 {u"K"},
                 {u"b", 1, Sz(u"2")},
                 "WINE REGISTRY Version 2\n\n[K] 1796855751\n#time=1dd882da54b0a2a\n"
                 "\"a\"=hex:01,\\\n\n\"b\"=\"2\"\n"},
        EditCase{"HexGoingOnPastTheEndWithoutALineBreak",
                 "WINE REGISTRY Version 2\n\n[K]\n#time=1\n\"a\"=hex:01,\\",
                 {u"K"},
                 {u"b", 1, Sz(u"2")},
                 "WINE REGISTRY Version 2\n\n[K] 1796855751\n#time=1dd882da54b0a2a\n"
                 "\"a\"=hex:01,\\\n\n\"b\"=\"2\"\n"}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

struct NastyCase {
    const char* name;
    std::string tail;
};

void PrintTo(const NastyCase& c, std::ostream* out)
{
    *out << c.name;
}

class RegistryHiveNasty : public testing::TestWithParam<NastyCase> {};

// Broken text after a good key: it is read without a fault, a value stored into key K reads
// back, and the good key keeps its value.
TEST_P(RegistryHiveNasty, StillTakesAnEdit)
{
    const std::string text =
        "WINE REGISTRY Version 2\n\n[Keep]\n\"k\"=\"kept\"\n\n" + GetParam().tail;
    const RegistryHive hive(text);
    ASSERT_TRUE(hive.Valid());
    const RegistryValue stored{u"n", 4, std::string("\x01\0\0\0", 4)};
    const RegistryHive edited(hive.WithValue({u"K"}, stored, kNow));
    const RegistryValue* value = Value(edited, {u"K"}, u"n");
    ASSERT_NE(value, nullptr) << edited.Text();
    EXPECT_EQ(value->type, stored.type);
    EXPECT_EQ(value->data, stored.data);
    const RegistryValue* kept = Value(edited, {u"Keep"}, u"k");
    ASSERT_NE(kept, nullptr) << edited.Text();
    EXPECT_EQ(kept->data, Sz(u"kept"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RegistryHiveNasty,
    testing::Values(NastyCase{"EscapeAtTheEnd", "[K]\n\"a\"=\"abc\\"},
                    NastyCase{"KeyWithoutBracket", "[K"},
                    NastyCase{"HexEscapeInKeyAtTheEnd", "[K\\x"}, NastyCase{"BackslashAlone", "\\"},
                    NastyCase{"ThreeDigitByte", "[K]\n\"a\"=hex:100,01\n"},
                    NastyCase{"TypeWithoutParenthesis", "[K]\n\"a\"=hex(7\n"},
                    NastyCase{"NulBytes", std::string("[K]\n\"a\0b\"=\"\0\"\n\0", 15)},
                    NastyCase{"InvalidUtf8", "[K\xff\xc3]\n\"\xe9\xf4\x90\"=\"\xc3\"\n[K]\n"},
                    NastyCase{"LongLine", "[K]\n\"a\"=\"" + std::string(100000, 'x') + "\"\n"},
                    NastyCase{"LongHexLine", "[K]\n\"a\"=hex:" + std::string(60000, '0') + "\n"},
                    NastyCase{"RootOnly", "[] 1\n#time=1\n"},
                    NastyCase{"CarriageReturnsOnly", "[K]\r\"a\"=\"b\"\r\r"},
                    NastyCase{"DefaultWithoutEquals", "[K]\n@\n@=\n\"\"\n"},
                    NastyCase{"HexGoingOnIntoAKey", "[K]\n\"a\"=hex:01,\\\n[K]\n\"b\"=\"c\"\n"},
                    NastyCase{"HexCutShortBeforeANewKey", "[J]\n\"a\"=hex:01,\\"},
                    NastyCase{"ContinuationOfNothing", "[K]\n  01,02\n\\\n"},
                    NastyCase{"DeepKey", "[" +
                                             [] {
                                                 std::string path = "K";
                                                 for (int i = 0; i < 2000; ++i)
                                                     path += "\\\\k";
                                                 return path;
                                             }() +
                                             "]\n"}),
    [](const testing::TestParamInfo<NastyCase>& info) { return std::string(info.param.name); });
} // namespace
