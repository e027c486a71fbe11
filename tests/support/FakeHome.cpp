#include "FakeHome.h"

#include <fstream>

namespace fs = std::filesystem;

std::string FakeHome::At(const std::string& relative) const
{
    return (Path() / relative).string();
}

std::string FakeHome::Prefix(const std::string& relative) const
{
    const std::string hive = "WINE REGISTRY Version 2\n\n#arch=win64\n";
    Write(relative + "/system.reg", hive);
    Write(relative + "/user.reg", hive);
    return At(relative);
}

void FakeHome::Write(const std::string& relative, const std::string& bytes) const
{
    const fs::path path = Path() / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void FakeHome::Link(const std::string& relative, const std::string& target) const
{
    const fs::path path = Path() / relative;
    fs::create_directories(path.parent_path());
    fs::create_directory_symlink(target, path);
}
