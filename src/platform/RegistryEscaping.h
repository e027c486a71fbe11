#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The string escapes of Wine's registry files, for key paths, value names, string data and
// classes: what Wine writes, and what its reader accepts.
class RegistryEscaping {
public:
    // Key names escape the brackets; quoted strings escape the double quote.
    enum class Context { KeyName, Quoted };

    // Appends text as Wine writes it: 7-bit ASCII, named and octal escapes for controls, \x
    // for code units above 0x7F (four digits when a hex digit follows, three octal digits
    // when an octal digit follows a control).
    static void Append(std::string& out, std::u16string_view text, Context context);

    // Decodes from text[pos] up to the first unescaped `end`, as Wine's reader does: raw bytes
    // above 0x7F are UTF-8 (invalid ones dropped), \x takes up to four hex digits, octal up to
    // three, an unknown escape gives the character itself. Returns the position just past
    // `end`, or npos when the text ends first.
    static std::size_t Decode(std::string_view text, std::size_t pos, char end,
                              std::u16string& out);

    // The numbers of the files: ASCII hex digits of either case, written in lowercase.
    static bool IsHexDigit(char16_t c);
    static int HexValue(char16_t digit);
    // value in base 8 or 16, with at least minDigits digits.
    static void AppendNumber(std::string& out, std::uint64_t value, unsigned base, int minDigits);
};
