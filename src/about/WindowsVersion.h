#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What Windows reports of itself (GetVersionExA).
struct WindowsVersion {
    std::uint32_t PlatformId = 0;
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::uint32_t Build = 0;
    // The service pack, empty when none is installed.
    std::string ServicePack;

    // The About box's line for the system, "Microsoft Windows NT 5.1 (Build: 2600) Service
    // Pack 3" and the like; "Unknown system version" when the system could not be asked.
    static std::string Describe(const std::optional<WindowsVersion>& version);
};
