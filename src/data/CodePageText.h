#pragma once

#include <string>
#include <string_view>

// Text between the command line (UTF-8) and the server lists (the games' ANSI code page,
// Windows-1252).
class CodePageText {
public:
    // The UTF-8 text in the code page. False when it holds a character that the code page
    // cannot hold, or bytes that are not UTF-8; problem then names the first of them, as in
    // "'ő' (U+0151)".
    static bool FromUtf8(std::string_view utf8, std::string& ansi, std::string* problem = nullptr);

    static std::string ToUtf8(std::string_view ansi);

    // For a terminal: UTF-8 with each control character written as \xNN, its byte in the code
    // page, so that no server name can move the cursor or change colours.
    static std::string Printable(std::string_view ansi);

    // The characters of a UTF-8 text, as a terminal counts columns for these code pages.
    static std::size_t Width(std::string_view utf8);
};
