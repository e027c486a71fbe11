#include "data/CodePageText.h"

#include "data/AnsiCodePage.h"

#include <cstdio>

namespace {
constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code point that starts at text[pos], and in length the bytes it takes; kInvalid (and
// length 1) for a byte that does not start a well-formed sequence.
char32_t Decode(std::string_view text, std::size_t pos, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80)
        return lead;
    std::size_t size = 0;
    char32_t point = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        point = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        point = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    } else {
        return kInvalid;
    }
    if (pos + size > text.size())
        return kInvalid;
    for (std::size_t i = 1; i < size; ++i) {
        const unsigned char next = byte(i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
            return kInvalid;
        point = point << 6 | (next & 0x3F);
    }
    length = size;
    return point;
}

void Encode(char32_t point, std::string& out)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | point >> 6);
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | point >> 12);
        out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | point >> 18);
        out += static_cast<char>(0x80 | (point >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

std::string Hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

bool IsControl(char16_t unit)
{
    return unit < 0x20 || unit == 0x7F || (unit >= 0x80 && unit < 0xA0);
}
} // namespace

bool CodePageText::FromUtf8(std::string_view utf8, std::string& ansi, std::string* problem)
{
    std::string result;
    result.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 0;
        const char32_t point = Decode(utf8, pos, length);
        if (point == kInvalid) {
            if (problem != nullptr)
                *problem = "the byte 0x" + Hex(static_cast<unsigned char>(utf8[pos]), 2) +
                           ", which is not UTF-8";
            return false;
        }
        const char byte =
            point < 0x10000 ? AnsiCodePage::FromUnicode(static_cast<char16_t>(point)) : '?';
        if (byte == '?' && point != U'?') {
            if (problem != nullptr) {
                *problem = "'";
                if (IsControl(static_cast<char16_t>(point)))
                    *problem += "\\u" + Hex(point, 4);
                else
                    *problem += utf8.substr(pos, length);
                *problem += "' (U+" + Hex(point, 4) + ")";
            }
            return false;
        }
        result += byte;
        pos += length;
    }
    ansi = std::move(result);
    return true;
}

std::string CodePageText::ToUtf8(std::string_view ansi)
{
    std::string utf8;
    utf8.reserve(ansi.size());
    for (const char byte : ansi)
        Encode(AnsiCodePage::ToUnicode(static_cast<unsigned char>(byte)), utf8);
    return utf8;
}

std::string CodePageText::Printable(std::string_view ansi)
{
    std::string text;
    text.reserve(ansi.size());
    for (const char byte : ansi) {
        const char16_t unit = AnsiCodePage::ToUnicode(static_cast<unsigned char>(byte));
        if (IsControl(unit))
            text += "\\x" + Hex(static_cast<unsigned char>(byte), 2);
        else
            Encode(unit, text);
    }
    return text;
}

std::size_t CodePageText::Width(std::string_view utf8)
{
    std::size_t width = 0;
    for (const char byte : utf8)
        width += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    return width;
}
