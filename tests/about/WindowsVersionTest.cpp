#include "about/WindowsVersion.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {
struct OsCase {
    const char* label;
    std::optional<WindowsVersion> version;
    const char* text;
};

void PrintTo(const OsCase& c, std::ostream* out)
{
    *out << c.label;
}

class WindowsVersionTest : public testing::TestWithParam<OsCase> {};

TEST_P(WindowsVersionTest, NamesTheSystem)
{
    EXPECT_EQ(WindowsVersion::Describe(GetParam().version), GetParam().text);
}

// The 95 family's build numbers carry the version in their high word.
INSTANTIATE_TEST_SUITE_P(
    Systems, WindowsVersionTest,
    testing::Values(OsCase{"Windows 95", WindowsVersion{1, 4, 0, 0x040003B6, " C"},
                           "Microsoft Windows 95 4.0 (Build: 950)"},
                    OsCase{"Windows 98", WindowsVersion{1, 4, 10, 0x040A07CE, " A "},
                           "Microsoft Windows 98 4.10 (Build: 1998)"},
                    OsCase{"Windows 98 SE", WindowsVersion{1, 4, 10, 0x040A08AE, ""},
                           "Microsoft Windows 98 4.10 (Build: 2222)"},
                    OsCase{"Windows Me", WindowsVersion{1, 4, 90, 0x045A0BB8, ""},
                           "Microsoft Windows 98 4.90 (Build: 3000)"},
                    OsCase{"95 family above 4", WindowsVersion{1, 5, 0, 7, ""},
                           "Microsoft Windows 98 5.0 (Build: 7)"},
                    OsCase{"NT with a service pack",
                           WindowsVersion{2, 5, 1, 2600, "Service Pack 3"},
                           "Microsoft Windows NT 5.1 (Build: 2600) Service Pack 3"},
                    OsCase{"NT without a service pack", WindowsVersion{2, 6, 1, 7601, ""},
                           "Microsoft Windows NT 6.1 (Build: 7601) "},
                    OsCase{"NT build past 65535", WindowsVersion{2, 10, 0, 65536 + 19045, ""},
                           "Microsoft Windows NT 10.0 (Build: 19045) "},
                    OsCase{"largest numbers",
                           WindowsVersion{2, 4294967295u, 4294967295u, 4294967295u, ""},
                           "Microsoft Windows NT 4294967295.4294967295 (Build: 65535) "},
                    OsCase{"Win32s", WindowsVersion{0, 1, 30, 0x1F0005, ""},
                           "Microsoft Win32s 1.30 (Build: 5)"},
                    OsCase{"Windows CE", WindowsVersion{3, 4, 20, 1088, ""}, "Unknown system"},
                    OsCase{"unknown id", WindowsVersion{0xFFFFFFFF, 6, 1, 7601, "Service Pack 1"},
                           "Unknown system"},
                    OsCase{"system not asked", std::nullopt, "Unknown system version"}));
} // namespace
