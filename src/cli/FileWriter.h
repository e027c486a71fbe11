#pragma once

#include <string>
#include <string_view>

// Where the commands write files: the platform replaces a file whole or not at all.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Returns 0, or the errno value of what failed; the file is then unchanged.
    virtual int Replace(const std::string& path, std::string_view content) = 0;
};
