#pragma once

#include <string>

// The ANSI code page of the games' texts: Windows-1252, as Wine uses it for the usual
// locales. Every byte 0x00-0xFF maps to one UTF-16 unit and back; the five bytes that 1252
// leaves undefined map to the C1 controls of the same value, as Windows maps them.
class AnsiCodePage {
public:
    static char16_t ToUnicode(unsigned char byte);
    // '?' for a unit that the code page cannot represent.
    static char FromUnicode(char16_t unit);

    static std::u16string ToUtf16(const std::string& ansi);
    static std::string FromUtf16(const std::u16string& text);
};
