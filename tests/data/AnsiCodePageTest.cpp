#include "data/AnsiCodePage.h"

#include <gtest/gtest.h>

namespace {
TEST(AnsiCodePage, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::u16string wide = AnsiCodePage::ToUtf16(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(AnsiCodePage::FromUtf16(wide), all);
}

TEST(AnsiCodePage, MapsAsWindows1252)
{
    const std::pair<unsigned char, char16_t> mapped[] = {
        {0x04, 0x0004}, {0x41, u'A'},   {0x80, 0x20AC}, {0x81, 0x0081},
        {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D},
        {0x9F, 0x0178}, {0xE9, 0x00E9}, {0xFF, 0x00FF}};
    for (const auto& [byte, unit] : mapped)
        EXPECT_EQ(AnsiCodePage::ToUnicode(byte), unit) << int(byte);
    EXPECT_EQ(AnsiCodePage::FromUnicode(0x4E2D), '?');
    EXPECT_EQ(AnsiCodePage::FromUnicode(0x0080), '?');
}
} // namespace
