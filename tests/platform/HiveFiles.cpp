#include "HiveFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string HiveFiles::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void HiveFiles::Write(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

std::string HiveFiles::Fixture(const std::string& name)
{
    // A copy of the tests run by another user names a copy of the fixtures that it can read.
    const char* folder = std::getenv("PORTICO_PLATFORM_FIXTURES");
    return Read(std::string(folder && *folder ? folder : PORTICO_PLATFORM_FIXTURES) + "/" + name);
}

std::string HiveFiles::WithoutTimes(const std::string& text)
{
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("#time=", 0) == 0)
            continue;
        if (!line.empty() && line[0] == '[')
            line = line.substr(0, line.rfind(']') + 1);
        out += line + "\n";
    }
    return out;
}

std::string HiveFiles::Utf16(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}
