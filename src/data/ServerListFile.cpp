#include "data/ServerListFile.h"

#include "data/Util.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open())
        throw std::string("Failed to open configuration file");
    file.exceptions(std::ios::badbit);

    std::ostringstream raw;
    raw << file.rdbuf();
    return raw.str();
}

void CopyText(std::string_view bytes, std::iostream& stream)
{
    // Text mode: each CR LF pair is one line feed.
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    const auto first = text.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string::npos)
        throw std::runtime_error("The file is empty or holds only white space.");
    stream.write(text.data() + first, static_cast<std::streamsize>(text.size() - first));
    stream.put('\0');
}

// Runs the work; on failure says why in error, as the import shows it.
template <typename Work> bool Reported(const Work& work, std::string* error)
{
    try {
        work();
        return true;
    } catch (...) {
        if (error != nullptr)
            *error = Util::DescribeCurrentException();
    }
    return false;
}
} // namespace

bool ReadServerListFile(const std::string& path, std::iostream& stream, std::string* error)
{
    return Reported([&] { CopyText(ReadBytes(path), stream); }, error);
}

bool ReadServerListText(std::string_view bytes, std::iostream& stream, std::string* error)
{
    return Reported([&] { CopyText(bytes, stream); }, error);
}
