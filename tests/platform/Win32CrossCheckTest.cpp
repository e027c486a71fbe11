#include "platform/WineRegistry.h"

#include "HiveFiles.h"
#include "RegistryCalls.h"
#include "SampleLists.h"
#include "TempDir.h"
#include "WindowsProgram.h"
#include "WinePrefix.h"
#include "data/ErrorCodes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
namespace fs = std::filesystem;

struct Location {
    RegHandle root;
    const char* rootName;
    const char* key;
};

// A list where the games keep theirs, and one in the 32-bit view of HKEY_LOCAL_MACHINE.
const Location kLocations[] = {
    {Reg::CurrentUser, "HKEY_CURRENT_USER", "Software\\Battle.net\\Configuration"},
    {Reg::LocalMachine, "HKEY_LOCAL_MACHINE", "Software\\Blizzard Entertainment\\Diablo II"},
};

// The Windows build's registry layer, through the real registry functions under Wine, and the
// Linux one, through the files of the same prefix: each reads what the other wrote.
class Win32CrossCheck : public testing::TestWithParam<SampleList> {
protected:
    void SetUp() override
    {
        if (!WinePrefix::Available())
            GTEST_SKIP() << "Wine is not installed";
        RequireWindowsProgram(PORTICO_WIN32_REGISTRY_TOOL);
    }

    // Runs the Windows tool; what it printed is in output.
    int Tool(const char* command, const Location& at, const char* value, const fs::path& file)
    {
        return wine.Wine({PORTICO_WIN32_REGISTRY_TOOL, command, at.rootName, at.key, value,
                          WinePrefix::WindowsPath(file)},
                         {{"LC_ALL", "C.UTF-8"}}, &output);
    }

    TempDir dir;
    WinePrefix wine{dir.Path() / "prefix"};
    std::string output;
};

TEST_P(Win32CrossCheck, EachSideReadsWhatTheOtherWrote)
{
    const std::string& list = GetParam().bytes;
    const fs::path file = dir.Write("list.bin", list);

    // Windows writes (Wine makes the prefix on the first run); once its wineserver has ended,
    // the lists are in the prefix's files.
    for (const Location& at : kLocations)
        ASSERT_EQ(Tool("write", at, "From Windows", file), 0) << output;
    ASSERT_EQ(wine.Server({"-w"}), 0);
    EXPECT_NE(HiveFiles::Read((wine.Path() / "system.reg").string())
                  .find("[Software\\\\Wow6432Node\\\\Blizzard Entertainment\\\\Diablo II]"),
              std::string::npos)
        << "the 32-bit view";
    WineRegistry registry(wine.Path().string());
    for (const Location& at : kLocations) {
        const RegistryCalls::Read read =
            RegistryCalls::ReadValue(registry, at.root, at.key, "From Windows");
        EXPECT_EQ(read.status, ErrorCode::Success) << at.rootName;
        EXPECT_EQ(read.data, list) << at.rootName;
    }

    // Linux writes while no wineserver runs; then Windows reads.
    for (const Location& at : kLocations)
        ASSERT_EQ(RegistryCalls::SaveList(registry, at.root, at.key, "From Linux", list),
                  ErrorCode::Success)
            << at.rootName;
    for (const Location& at : kLocations) {
        const fs::path read = dir.Path() / (std::string(at.rootName) + ".bin");
        ASSERT_EQ(Tool("read", at, "From Linux", read), 0) << output;
        EXPECT_EQ(HiveFiles::Read(read.string()), list) << at.rootName;
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, Win32CrossCheck, testing::ValuesIn(SampleLists::All()),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace
