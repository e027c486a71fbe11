#pragma once

#include <string>

// Whole files in and out, and the fixtures beside these tests.
class HiveFiles {
public:
    static std::string Read(const std::string& path);
    static void Write(const std::string& path, const std::string& content);
    static std::string Fixture(const std::string& name);
};
