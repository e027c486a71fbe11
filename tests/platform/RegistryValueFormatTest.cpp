#include "platform/RegistryValueFormat.h"

#include "HiveFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {
using Outcome = RegistryValueFormat::Outcome;

// Parses text that may hold continuation lines.
Outcome Parse(const std::string& text, RegistryValue& value)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::size_t next = 1;
    const auto nextLine = [&](std::string_view& out) {
        if (next >= lines.size())
            return false;
        out = lines[next++];
        return true;
    };
    return RegistryValueFormat::Parse(lines.empty() ? "" : lines[0], nextLine, value);
}

// The value lines of a file, continuation lines included.
std::vector<std::string> ValueLines(const std::string& file)
{
    std::vector<std::string> result;
    std::istringstream in(file);
    bool continues = false;
    for (std::string line; std::getline(in, line);) {
        if (continues)
            result.back() += "\n" + line;
        else if (!line.empty() && (line[0] == '"' || line[0] == '@'))
            result.push_back(line);
        else
            continue;
        continues = line.back() == '\\' && result.back().find("=hex") != std::string::npos;
    }
    return result;
}

class RegistryValueFormatWineFiles : public testing::TestWithParam<const char*> {};

// Every value line that Wine wrote parses, and is written back to the same bytes: types,
// escapes, the string forms and the wrapping of hex data.
TEST_P(RegistryValueFormatWineFiles, WritesEveryValueAsWineDid)
{
    const std::vector<std::string> lines = ValueLines(HiveFiles::Fixture(GetParam()));
    ASSERT_GE(lines.size(), 10u);
    for (const std::string& line : lines) {
        RegistryValue value;
        ASSERT_EQ(Parse(line, value), Outcome::Ok) << line;
        EXPECT_EQ(RegistryValueFormat::Format(value, "\n"), line);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, RegistryValueFormatWineFiles,
                         testing::Values("user.reg", "system.reg", "handwritten.after-wine.reg"));

struct ParseCase {
    std::string line;
    Outcome outcome;
    std::u16string name;
    std::uint32_t type;
    std::string data;
};

class RegistryValueFormatParse : public testing::TestWithParam<ParseCase> {};

TEST_P(RegistryValueFormatParse, ReadsAsWineReads)
{
    const ParseCase& expected = GetParam();
    RegistryValue value;
    ASSERT_EQ(Parse(expected.line, value), expected.outcome);
    if (expected.outcome == Outcome::NoValue)
        return;
    EXPECT_EQ(value.name, expected.name);
    EXPECT_EQ(value.type, expected.type);
    EXPECT_EQ(value.data, expected.data);
}

const std::string kNul(2, '\0');

INSTANTIATE_TEST_SUITE_P(
    Forms, RegistryValueFormatParse,
    testing::Values(
        // The empty list in both forms, an empty entry, a missing terminator.
        ParseCase{R"("L"=str(7):"")", Outcome::Ok, u"L", 7, kNul},
        ParseCase{R"("L"=str(7):"\0")", Outcome::Ok, u"L", 7, kNul + kNul},
        ParseCase{R"("L"=str(7):"A\0\0B\0")", Outcome::Ok, u"L", 7,
                  HiveFiles::Utf16(std::u16string(u"A\0\0B\0\0", 6))},
        ParseCase{R"("L"=str(7):"a\0b")", Outcome::Ok, u"L", 7,
                  HiveFiles::Utf16(std::u16string(u"a\0b\0", 4))},
        ParseCase{"\"L\"=hex(7):31,00,00,00,\\\n\t00,00", Outcome::Ok, u"L", 7,
                  HiveFiles::Utf16(std::u16string(u"1\0\0", 3))},
        ParseCase{"\"L\"=hex(7):31,00,\\\n30,00,00,00,00,00", Outcome::Ok, u"L", 7,
                  HiveFiles::Utf16(std::u16string(u"10\0\0", 4))},
        ParseCase{"\"H\"=hex:01,\\\n\n02", Outcome::Ok, u"H", 3, "\x01"},
        ParseCase{"\"H\"=hex:01,\\", Outcome::Malformed, u"H", 0, ""},
        ParseCase{R"("L"=hex(7):)", Outcome::Ok, u"L", 7, ""},
        ParseCase{R"("L"=hex(0x7):41,00)", Outcome::Ok, u"L", 7, HiveFiles::Utf16(u"A")},
        ParseCase{R"("L"=hex(07):41,00,)", Outcome::Ok, u"L", 7, HiveFiles::Utf16(u"A")},
        ParseCase{R"("T"=hex(12345):01,02)", Outcome::Ok, u"T", 0x12345, "\x01\x02"},
        ParseCase{R"(@=str:"x")", Outcome::Ok, u"", 1, HiveFiles::Utf16(std::u16string(u"x\0", 2))},
        ParseCase{R"(  "a" = "b" junk)", Outcome::Ok, u"a", 1,
                  HiveFiles::Utf16(std::u16string(u"b\0", 2))},
        ParseCase{R"("D"=dword:123456789)", Outcome::Ok, u"D", 4, "\x89\x67\x45\x23"},
        ParseCase{R"("D"=dword:DEADBEEF)", Outcome::Ok, u"D", 4, "\xef\xbe\xad\xde"},
        ParseCase{R"("H"=hex:FF,Ab,0c)", Outcome::Ok, u"H", 3, "\xff\xab\x0c"},
        // Wine rejects these lines but keeps an empty REG_NONE value of the name.
        ParseCase{R"("H"=HEX(7):41,00)", Outcome::Malformed, u"H", 0, ""},
        ParseCase{R"("H"=hex: 01, 02 ,03)", Outcome::Malformed, u"H", 0, ""},
        ParseCase{R"("H"=hex:100)", Outcome::Malformed, u"H", 0, ""},
        ParseCase{R"("Q"=qword:1122334455667788)", Outcome::Malformed, u"Q", 0, ""},
        ParseCase{R"("S"=str(1):"x")", Outcome::Malformed, u"S", 0, ""},
        ParseCase{"\"S\"=\"abc\\\n  def\"", Outcome::Malformed, u"S", 0, ""},
        ParseCase{R"("S"="abc\")", Outcome::Malformed, u"S", 0, ""},
        // No value at all.
        ParseCase{R"("unterminated=1)", Outcome::NoValue, u"", 0, ""},
        ParseCase{R"("novalue")", Outcome::NoValue, u"", 0, ""}));

struct FormatCase {
    RegistryValue value;
    const char* expected;
};

class RegistryValueFormatWrite : public testing::TestWithParam<FormatCase> {};

TEST_P(RegistryValueFormatWrite, UsesWinesForms)
{
    EXPECT_EQ(RegistryValueFormat::Format(GetParam().value, "\n"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RegistryValueFormatWrite,
    testing::Values(
        FormatCase{{u"L", 7, kNul}, R"("L"=str(7):"")"},
        FormatCase{{u"L", 7, kNul + kNul}, R"("L"=str(7):"\0")"},
        FormatCase{{u"L", 7, HiveFiles::Utf16(std::u16string(u"A\0B\0", 4))},
                   R"("L"=str(7):"A\0B")"},
        FormatCase{{u"L", 7, ""}, R"("L"=hex(7):)"}, FormatCase{{u"L", 7, "A"}, R"("L"=hex(7):41)"},
        FormatCase{{u"L", 7, HiveFiles::Utf16(u"AB")}, R"("L"=hex(7):41,00,42,00)"},
        FormatCase{{u"", 1, kNul}, R"(@="")"},
        FormatCase{{u"D", 4, std::string("\x2a\0\0\0", 4)}, R"("D"=dword:0000002a)"},
        FormatCase{{u"D", 4, "\xef\xbe"}, R"("D"=hex(4):ef,be)"},
        FormatCase{{u"B", 0x10001, "\x01"}, R"("B"=hex(10001):01)"},
        // The name is counted as written: 21 bytes fit the first line.
        FormatCase{{u"N\u00e9\"q", 3, std::string(23, '\x11')},
                   "\"N\\xe9\\\"q\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,"
                   "11,11,\\\n  11,11"}));
} // namespace
