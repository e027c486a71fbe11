#include "about/VersionInfo.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {
const std::string kPrefix = "\\StringFileInfo\\040904E4\\";

std::string Line(const std::string& key, const std::string& value)
{
    return kPrefix + key + "=" + value + "\n";
}

// Every key the About box reads, with distinct values.
const std::string kFullTable =
    "\\VarFileInfo\\Translation=040904E4\n" + Line("Comments", "Beta Program") +
    Line("CompanyName", "Ferryman") + Line("FileDescription", "Portico") +
    Line("FileVersion", "2.0 Beta") + Line("LegalCopyright", "Copyright (C) Ferryman") +
    Line("LegalTrademarks", "None") + Line("PrivateBuild", "1.2") + Line("ProductName", "Portico") +
    Line("ProductVersion", "2.0 Product");

const VersionStrings kFullStrings{"2.0 Product", "None", "Portico", "Copyright (C) Ferryman",
                                  "Ferryman",    "1.2",  "2.0 Beta"};

struct BlockCase {
    const char* label;
    std::string block;
    bool read;
    VersionStrings expected;
};

void PrintTo(const BlockCase& c, std::ostream* out)
{
    *out << c.label;
}

class ReadVersionInfoTest : public testing::TestWithParam<BlockCase> {};

TEST_P(ReadVersionInfoTest, FillsTheStringsFromTheEnglishTable)
{
    const BlockCase& c = GetParam();
    // Whatever the strings held before is never left behind.
    VersionStrings strings{"old", "old", "old", "old", "old", "old", "old"};
    EXPECT_EQ(ReadVersionInfo(c.block, strings), c.read);
    EXPECT_EQ(strings, c.expected);
}

const VersionStrings kEmpty{};
const VersionStrings kAllUnknown{"???", "???", "???", "???", "???", "???", "???"};

INSTANTIATE_TEST_SUITE_P(
    Blocks, ReadVersionInfoTest,
    testing::Values(
        BlockCase{"present", kFullTable, true, kFullStrings},
        BlockCase{"no block", "", false, kEmpty},
        BlockCase{"no ProductName",
                  Line("CompanyName", "Ferryman") + Line("FileDescription", "Portico") +
                      Line("FileVersion", "2.0 Beta"),
                  false, kEmpty},
        BlockCase{"another language only",
                  "\\StringFileInfo\\040704B0\\ProductName=Portico\n"
                  "\\StringFileInfo\\040704B0\\FileDescription=Portico\n"
                  "\\StringFileInfo\\040704B0\\FileVersion=2.0\n",
                  false, kEmpty},
        BlockCase{"another code page only",
                  "\\StringFileInfo\\040904B0\\ProductName=Portico\n"
                  "\\StringFileInfo\\040904B0\\FileVersion=2.0\n",
                  false, kEmpty},
        // The name need not have a text: it only has to be there.
        BlockCase{"ProductName alone, empty", Line("ProductName", ""), true, kAllUnknown},
        BlockCase{"empty and missing values",
                  Line("ProductName", "Portico") + Line("CompanyName", "") +
                      Line("FileDescription", "Portico") +
                      Line("FileVersion", std::string(1, '\0')) +
                      Line("LegalCopyright", std::string("\0after", 6)),
                  true, VersionStrings{"???", "???", "Portico", "???", "???", "???", "???"}},
        BlockCase{"values as they are",
                  Line("ProductName", "P") + Line("FileDescription", " x = y \t") +
                      Line("FileVersion", std::string(300, 'v')) +
                      Line("CompanyName", "Caf\xE9 \x80") +
                      "\\StringFileInfo\\040904E4\\ProductVersion=",
                  true,
                  VersionStrings{"???", "???", " x = y \t", "???", "Caf\xE9 \x80", "???",
                                 std::string(300, 'v')}},
        BlockCase{"paths without regard to case",
                  "\\stringfileinfo\\040904e4\\productname=Portico\n"
                  "\\STRINGFILEINFO\\040904E4\\FILEDESCRIPTION=Portico\n",
                  true, VersionStrings{"???", "???", "Portico", "???", "???", "???", "???"}},
        BlockCase{"first of a repeated path, CRLF lines, lines without =",
                  "garbage line\r\n" + kPrefix + "ProductName=Portico\r\n" + kPrefix +
                      "FileDescription=first\r\n" + kPrefix + "FileDescription=second\r\n",
                  true, VersionStrings{"???", "???", "first", "???", "???", "???", "???"}}));

TEST(ProgramVersionBlockTest, CarriesTheProgramsVersionTable)
{
    VersionStrings strings;
    ASSERT_TRUE(ReadVersionInfo(ProgramVersionBlock(), strings));
    EXPECT_EQ(strings.FileDescription, "Portico");
    EXPECT_EQ(strings.CompanyName, "Ferryman");
    EXPECT_EQ(strings.FileVersion, "2.0 Beta");
    EXPECT_EQ(strings.ProductVersion, "2.0 Beta");
    EXPECT_EQ(strings.PrivateBuild, "1.2");
    EXPECT_EQ(strings.LegalCopyright, "Copyright (C) Ferryman");
    // The program names no trademarks.
    EXPECT_EQ(strings.LegalTrademarks, "???");
}
} // namespace
