#include "about/WindowsVersion.h"

namespace {
constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows = 1;
constexpr std::uint32_t kPlatformNt = 2;

// "<name> <major>.<minor> (Build: <build>)"
std::string NameAndNumbers(const char* name, const WindowsVersion& version, std::uint32_t build)
{
    return std::string(name) + ' ' + std::to_string(version.Major) + '.' +
           std::to_string(version.Minor) + " (Build: " + std::to_string(build) + ')';
}
} // namespace

std::string WindowsVersion::Describe(const std::optional<WindowsVersion>& version)
{
    if (!version)
        return "Unknown system version";
    // The 95 family keeps the major and minor version in the high word of its build number.
    const std::uint32_t build = version->Build & 0xFFFF;
    switch (version->PlatformId) {
    case kPlatformWin32s:
        return NameAndNumbers("Microsoft Win32s", *version, build);
    case kPlatformWindows: {
        const bool is98 = version->Major > 4 || (version->Major == 4 && version->Minor > 0);
        return NameAndNumbers(is98 ? "Microsoft Windows 98" : "Microsoft Windows 95", *version,
                              build);
    }
    case kPlatformNt:
        // The blank stays when there is no service pack.
        return NameAndNumbers("Microsoft Windows NT", *version, build) + ' ' + version->ServicePack;
    default:
        return "Unknown system";
    }
}
