#pragma once

#include <string>
#include <string_view>

// Whole files in and out, the fixtures beside these tests, and hive texts compared.
class HiveFiles {
public:
    static std::string Read(const std::string& path);
    static void Write(const std::string& path, const std::string& content);
    static std::string Fixture(const std::string& name);
    // The text without the key times, which every write sets to the current time.
    static std::string WithoutTimes(const std::string& text);
    // UTF-16LE bytes, as the hives hold string data.
    static std::string Utf16(std::u16string_view text);
};
