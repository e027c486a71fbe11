#include "cli/WinePrefixCheck.h"

#include <filesystem>

std::string WinePrefixCheck::Problem(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder(path);
    if (!fs::exists(folder, error))
        return "The Wine prefix '" + path + "' does not exist.";
    if (!fs::is_directory(folder, error))
        return "The Wine prefix '" + path + "' is not a folder.";
    if (!fs::is_regular_file(folder / "system.reg", error) &&
        !fs::is_regular_file(folder / "user.reg", error))
        return "'" + path + "' is not a Wine prefix: it holds neither system.reg nor user.reg.";
    return {};
}
