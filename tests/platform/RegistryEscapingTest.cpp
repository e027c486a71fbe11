#include "platform/RegistryEscaping.h"

#include <gtest/gtest.h>

#include <random>

namespace {
using Context = RegistryEscaping::Context;

struct DecodeCase {
    const char* text;
    std::u16string expected;
};

class RegistryEscapingDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(RegistryEscapingDecode, ReadsAsWineReads)
{
    const std::string text = std::string(GetParam().text) + "\"tail";
    std::u16string decoded;
    const std::size_t end = RegistryEscaping::Decode(text, 0, '"', decoded);
    EXPECT_EQ(decoded, GetParam().expected);
    EXPECT_EQ(text.substr(end), "tail");
}

// Cases observed with Wine 8 (the hand-written file and its rewrite).
INSTANTIATE_TEST_SUITE_P(
    Escapes, RegistryEscapingDecode,
    testing::Values(DecodeCase{R"(\a\b\t\n\v\f\r\e)", u"\a\b\t\n\v\f\r\x1b"},
                    DecodeCase{R"(\xE9\XE9|\x20AC|\x10000)", u"\u00e9XE9|\u20ac|\u10000"},
                    DecodeCase{R"(\u00e9|\q|\101|\0101|\8)", u"u00e9|q|A|\b1|8"},
                    DecodeCase{R"(\xg)", u"xg"}, DecodeCase{R"(a\"b\\c)", u"a\"b\\c"},
                    DecodeCase{"\\0\\000\\0017", std::u16string(u"\0\0\1"
                                                                "7",
                                                                4)},
                    DecodeCase{"caf\xc3\xa9", u"caf\u00e9"}, DecodeCase{"caf\xe9", u"caf"},
                    DecodeCase{"\xf0\x9f\x98\x80", u"\U0001F600"},
                    DecodeCase{R"(\xd83d\xde00)", u"\U0001F600"}));

TEST(RegistryEscaping, DecodeFailsWithoutTheClosingCharacter)
{
    std::u16string decoded;
    EXPECT_EQ(RegistryEscaping::Decode("abc", 0, '"', decoded), std::string_view::npos);
    EXPECT_EQ(RegistryEscaping::Decode(R"(abc\")", 0, '"', decoded), std::string_view::npos);
    EXPECT_EQ(RegistryEscaping::Decode("abc\\", 0, '"', decoded), std::string_view::npos);
}

struct EncodeCase {
    std::u16string text;
    Context context;
    const char* expected;
};

class RegistryEscapingAppend : public testing::TestWithParam<EncodeCase> {};

TEST_P(RegistryEscapingAppend, WritesAsWineWrites)
{
    std::string out;
    RegistryEscaping::Append(out, GetParam().text, GetParam().context);
    EXPECT_EQ(out, GetParam().expected);
}

// Expected texts are bytes of files that Wine 8 wrote.
INSTANTIATE_TEST_SUITE_P(
    WineOutput, RegistryEscapingAppend,
    testing::Values(
        EncodeCase{u"ctl:\a\b\t\n\v\f\r\x1b|\1|\1"
                   u"7|\x7f|\"|\\|[|]|\x80|\xa0|\xff|\x100|\xfeff",
                   Context::Quoted,
                   "ctl:\\a\\b\\t\\n\\v\\f\\r\\e|\\1|\\0017|\x7f|\\\"|\\\\|[|]|\\x80|\\xa0|\\xff|"
                   "\\x100|\\xfeff"},
        EncodeCase{std::u16string(u"Europ\u00e9\0\u00dcn\u00efcode \u20ac\0\u0160\u2122\0", 20),
                   Context::Quoted, "Europ\\xe9\\0\\xdcn\\x00efcode \\x20ac\\0\\x160\\x2122\\0"},
        EncodeCase{std::u16string(u"1001\0"
                                  u"01\0"
                                  u"8\0",
                                  10),
                   Context::Quoted, "1001\\00001\\08\\0"},
        EncodeCase{u"\u1000"
                   u"0",
                   Context::Quoted, "\\x10000"},
        EncodeCase{u"and]bracket", Context::KeyName, "and\\]bracket"},
        EncodeCase{u"[br\"q", Context::KeyName, "\\[br\"q"},
        EncodeCase{u"Name \"q\" \\b\\ [x] =\n\1\u00e9", Context::Quoted,
                   "Name \\\"q\\\" \\\\b\\\\ [x] =\\n\\1\\xe9"},
        EncodeCase{u"\U0001F30E", Context::KeyName, "\\xd83c\\xdf0e"}));

TEST(RegistryEscaping, EveryCodeUnitSequenceRoundTrips)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> kind(0, 3);
    for (const Context context : {Context::Quoted, Context::KeyName}) {
        for (int round = 0; round < 2000; ++round) {
            std::u16string text;
            for (int i = 0; i < 12; ++i) {
                switch (kind(random)) {
                case 0:
                    text.push_back(static_cast<char16_t>(random() % 0x20));
                    break;
                case 1:
                    text.push_back(static_cast<char16_t>(0x20 + random() % 0x60));
                    break;
                case 2:
                    text.push_back(static_cast<char16_t>(0x80 + random() % 0x180));
                    break;
                default:
                    text.push_back(static_cast<char16_t>(random() % 0x10000));
                    break;
                }
            }
            std::string escaped;
            RegistryEscaping::Append(escaped, text, context);
            for (const char c : escaped)
                ASSERT_TRUE(c > 0 && c < 0x80) << escaped;
            escaped += context == Context::Quoted ? '"' : ']';
            std::u16string decoded;
            ASSERT_EQ(RegistryEscaping::Decode(escaped, 0, escaped.back(), decoded),
                      escaped.size());
            ASSERT_EQ(decoded, text) << escaped;
        }
    }
}
} // namespace
