#pragma once

#include "platform/RegistryValue.h"

#include <cstddef>
#include <string_view>

// The lines of a registry file's text as Wine's reader splits them: on LF, without a CR before
// it, with blanks skipped at the start.
class HiveLines {
public:
    struct Line {
        std::size_t start;
        std::size_t contentEnd; // the end of its text, before any CR and LF
        std::size_t next;       // the start of the next line, or the end of the text
    };
    static Line At(std::string_view text, std::size_t pos);
    static bool IsBlank(char c)
    {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
    }
    static std::size_t FirstNonBlank(std::string_view line);

    // Whether a value line's data may go on over the next lines (only hex data does).
    static bool MayGoOn(std::string_view content);

    // Parses the value line at lineStart, with the lines over which its hex data goes on.
    // Returns the start of the line after them. isValue: Wine makes a value of the line.
    // textEnd: the end of the value's text, not counting an empty or comment line that ended
    // hex data. ranOut: the hex data went on past the end of the text.
    static std::size_t ParseValue(std::string_view text, std::size_t lineStart,
                                  RegistryValue& value, bool& isValue, std::size_t* textEnd,
                                  bool* ranOut);
};
