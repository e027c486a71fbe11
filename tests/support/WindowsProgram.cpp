#include "WindowsProgram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

void RequireWindowsProgram(const std::string& path)
{
    if (std::filesystem::exists(path))
        return;
    const std::string absent = "The Windows build is absent: no " + path +
                               " (cmake --preset windows && cmake --build --preset windows)";
    if (std::getenv("PORTICO_REQUIRE_WINDOWS_BUILD"))
        GTEST_FAIL() << absent;
    GTEST_SKIP() << absent;
}
