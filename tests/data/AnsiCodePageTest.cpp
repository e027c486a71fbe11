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
// Bytes 0x80-0x9F of Windows-1252 as Unicode's table (CP1252.TXT) and Microsoft's
// "bestfit1252" give them; the five it leaves undefined are the C1 controls of that value.
TEST(AnsiCodePage, TheWholeRange0x80To0x9FIsWindows1252)
{
    const std::pair<unsigned char, char16_t> published[32] = {
        {0x80, 0x20AC}, // EURO SIGN
        {0x81, 0x0081}, // undefined
        {0x82, 0x201A}, // SINGLE LOW-9 QUOTATION MARK
        {0x83, 0x0192}, // LATIN SMALL LETTER F WITH HOOK
        {0x84, 0x201E}, // DOUBLE LOW-9 QUOTATION MARK
        {0x85, 0x2026}, // HORIZONTAL ELLIPSIS
        {0x86, 0x2020}, // DAGGER
        {0x87, 0x2021}, // DOUBLE DAGGER
        {0x88, 0x02C6}, // MODIFIER LETTER CIRCUMFLEX ACCENT
        {0x89, 0x2030}, // PER MILLE SIGN
        {0x8A, 0x0160}, // LATIN CAPITAL LETTER S WITH CARON
        {0x8B, 0x2039}, // SINGLE LEFT-POINTING ANGLE QUOTATION MARK
        {0x8C, 0x0152}, // LATIN CAPITAL LIGATURE OE
        {0x8D, 0x008D}, // undefined
        {0x8E, 0x017D}, // LATIN CAPITAL LETTER Z WITH CARON
        {0x8F, 0x008F}, // undefined
        {0x90, 0x0090}, // undefined
        {0x91, 0x2018}, // LEFT SINGLE QUOTATION MARK
        {0x92, 0x2019}, // RIGHT SINGLE QUOTATION MARK
        {0x93, 0x201C}, // LEFT DOUBLE QUOTATION MARK
        {0x94, 0x201D}, // RIGHT DOUBLE QUOTATION MARK
        {0x95, 0x2022}, // BULLET
        {0x96, 0x2013}, // EN DASH
        {0x97, 0x2014}, // EM DASH
        {0x98, 0x02DC}, // SMALL TILDE
        {0x99, 0x2122}, // TRADE MARK SIGN
        {0x9A, 0x0161}, // LATIN SMALL LETTER S WITH CARON
        {0x9B, 0x203A}, // SINGLE RIGHT-POINTING ANGLE QUOTATION MARK
        {0x9C, 0x0153}, // LATIN SMALL LIGATURE OE
        {0x9D, 0x009D}, // undefined
        {0x9E, 0x017E}, // LATIN SMALL LETTER Z WITH CARON
        {0x9F, 0x0178}, // LATIN CAPITAL LETTER Y WITH DIAERESIS
    };
    for (const auto& [byte, unit] : published) {
        EXPECT_EQ(AnsiCodePage::ToUnicode(byte), unit) << std::hex << int(byte);
        EXPECT_EQ(AnsiCodePage::FromUnicode(unit), static_cast<char>(byte))
            << std::hex << int(unit);
    }
}
} // namespace
