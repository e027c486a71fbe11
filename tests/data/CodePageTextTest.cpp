#include "data/CodePageText.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {
TEST(CodePageText, EveryByteOfTheCodePageGoesThroughUtf8AndBack)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::string ansi(1, static_cast<char>(byte));
        std::string back;
        std::string problem;
        ASSERT_TRUE(CodePageText::FromUtf8(CodePageText::ToUtf8(ansi), back, &problem))
            << byte << ": " << problem;
        EXPECT_EQ(back, ansi) << byte;
    }
    EXPECT_EQ(CodePageText::ToUtf8("\x80 \x8a\x9f\xe9"), "\xe2\x82\xac \xc5\xa0\xc5\xb8\xc3\xa9");
}

struct RefusedCase {
    const char* Label;
    std::string Utf8;
    std::string Problem;
};

class CodePageTextRefusal : public testing::TestWithParam<RefusedCase> {};

TEST_P(CodePageTextRefusal, NamesTheFirstCharacterThatCannotBeHeld)
{
    std::string ansi = "unchanged";
    std::string problem;
    EXPECT_FALSE(CodePageText::FromUtf8(GetParam().Utf8, ansi, &problem));
    EXPECT_EQ(problem, GetParam().Problem);
    EXPECT_EQ(ansi, "unchanged");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageTextRefusal,
    testing::Values(
        RefusedCase{"outside_the_code_page", "ok \xc5\x91 \xc5\xb1", "'\xc5\x91' (U+0151)"},
        RefusedCase{"beyond_the_basic_plane", "\xf0\x9f\x8e\xae", "'\xf0\x9f\x8e\xae' (U+1F3AE)"},
        // 0x80 is the euro sign in this code page: U+0080 has no byte.
        RefusedCase{"control_without_byte", "a\xc2\x80", "'\\u0080' (U+0080)"},
        RefusedCase{"lone_continuation", "a\x80", "the byte 0x80, which is not UTF-8"},
        RefusedCase{"bad_continuation", "\xc3(", "the byte 0xC3, which is not UTF-8"},
        RefusedCase{"overlong", "\xc0\xaf", "the byte 0xC0, which is not UTF-8"},
        RefusedCase{"overlong_three_bytes", "\xe0\x80\xaf", "the byte 0xE0, which is not UTF-8"},
        RefusedCase{"surrogate", "\xed\xa0\x80", "the byte 0xED, which is not UTF-8"},
        RefusedCase{"beyond_unicode", "\xf4\x90\x80\x80", "the byte 0xF4, which is not UTF-8"},
        RefusedCase{"cut_short", "\xe2\x82", "the byte 0xE2, which is not UTF-8"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.Label; });

TEST(CodePageText, AQuestionMarkIsACharacterLikeAnyOther)
{
    std::string ansi;
    ASSERT_TRUE(CodePageText::FromUtf8("Who? \xc2\xbfQui\xc3\xa9n?", ansi));
    EXPECT_EQ(ansi, "Who? \xbfQui\xe9n?");
}

TEST(CodePageText, PrintableTextShowsControlsAsTheirBytes)
{
    EXPECT_EQ(CodePageText::Printable("\x04Gold\x07 \x1b[31mRed\x7f\x81\x9d\t\xe9\x80"),
              "\\x04Gold\\x07 \\x1B[31mRed\\x7F\\x81\\x9D\\x09\xc3\xa9\xe2\x82\xac");
    EXPECT_EQ(CodePageText::Width(CodePageText::Printable("\x04\xe9\x80")), 6u);
}
} // namespace
