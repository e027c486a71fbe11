#pragma once

#include <string>

// The texts of the program's version information that the About box uses.
struct VersionStrings {
    std::string ProductVersion;
    std::string LegalTrademarks;
    std::string FileDescription;
    std::string LegalCopyright;
    std::string CompanyName;
    std::string PrivateBuild;
    std::string FileVersion;

    bool operator==(const VersionStrings&) const = default;
};
