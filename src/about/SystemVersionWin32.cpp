#include "about/SystemVersion.h"

#include "about/WindowsVersion.h"

#include <cstring>
#include <windows.h>

std::string GetOsVersionText()
{
    // The extended structure first; systems that only know the basic one refuse its size.
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    auto* basic = reinterpret_cast<OSVERSIONINFOA*>(&info);
    if (!::GetVersionExA(basic)) {
        info = OSVERSIONINFOEXA{};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!::GetVersionExA(basic))
            return WindowsVersion::Describe(std::nullopt);
    }
    return WindowsVersion::Describe(WindowsVersion{
        info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
        std::string(info.szCSDVersion, ::strnlen(info.szCSDVersion, sizeof info.szCSDVersion))});
}
