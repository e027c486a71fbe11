#include "platform/WineRegistry.h"

#include "HiveFiles.h"
#include "RegistryCalls.h"
#include "TempDir.h"
#include "WinePrefix.h"
#include "data/AnsiCodePage.h"
#include "data/ErrorCodes.h"
#include "platform/WineServerDetector.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kGatewaysKey = "Software\\Battle.net\\Configuration";
const std::string kW3Key = "Software\\Blizzard Entertainment\\Warcraft III";
const std::string kGateways = "Battle.net gateways";

std::string Utf16(const std::string& ansi)
{
    return HiveFiles::Utf16(AnsiCodePage::ToUtf16(ansi));
}

std::string Read(const fs::path& prefix, RegHandle root, const std::string& key,
                 const std::string& value)
{
    WineRegistry registry(prefix.string());
    const RegistryCalls::Read read = RegistryCalls::ReadValue(registry, root, key, value);
    return read.status == ErrorCode::Success ? read.data : "<" + std::to_string(read.status) + ">";
}

RegStatus Save(const fs::path& prefix, RegHandle root, const std::string& key,
               const std::string& value, const std::string& data)
{
    WineRegistry registry(prefix.string());
    return RegistryCalls::SaveList(registry, root, key, value, data);
}

// Every byte value in the texts, the control bytes of real server names, over 1,024 bytes.
std::string LongList()
{
    std::string list("1001\0"
                     "04\0",
                     8);
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every.push_back(static_cast<char>(byte));
    for (int i = 0; i < 4; ++i)
        list += std::string("\x04\x06\x07server", 9) + std::to_string(i) + '\0' + "-5" + '\0' +
                every + '\0';
    return list + '\0';
}

class WineInteropTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!WinePrefix::Available())
            GTEST_SKIP() << "Wine is not installed";
    }

    TempDir dir;
    WinePrefix wine{dir.Path() / "prefix"};
};

TEST_F(WineInteropTest, WineAndPorticoReadWhatTheOtherWrote)
{
    const fs::path prefix = wine.Path();
    // Wine creates the prefix with its first command.
    ASSERT_EQ(wine.Wine({"reg", "add", "HKLM\\Software\\Blizzard Entertainment\\Starcraft", "/v",
                         "Program", "/d", "C:\\Games\\StarCraft.exe", "/reg:32", "/f"}),
              0);
    ASSERT_EQ(wine.Wine({"reg", "add", "HKLM\\Software\\Blizzard Entertainment\\Diablo II", "/v",
                         "Program", "/d", "C:\\Games\\Game.exe", "/f"}),
              0);
    ASSERT_EQ(
        wine.Wine({"reg", "add", "HKCU\\" + kGatewaysKey, "/v", kGateways, "/t", "REG_MULTI_SZ",
                   "/d", "1001\\001\\0uswest.battle.net\\08\\0U.S. West", "/f"}),
        0);
    ASSERT_EQ(wine.Server({"-w"}), 0);

    // What reg.exe wrote, read here: the 32-bit view, the 64-bit fallback, the list.
    EXPECT_EQ(
        Read(prefix, Reg::LocalMachine, "Software\\Blizzard Entertainment\\Starcraft", "Program"),
        std::string("C:\\Games\\StarCraft.exe\0", 23));
    EXPECT_EQ(
        Read(prefix, Reg::LocalMachine, "Software\\Blizzard Entertainment\\Diablo II", "Program"),
        std::string("C:\\Games\\Game.exe\0", 18));
    EXPECT_EQ(Read(prefix, Reg::CurrentUser, kGatewaysKey, kGateways),
              std::string("1001\0"
                          "01\0uswest.battle.net\0"
                          "8\0U.S. West\0\0",
                          39));

    // What Portico writes, read by Wine byte for byte.
    const std::string list = LongList();
    const std::string w3List("1001\0"
                             "01\0\x04\x07w3.example\0"
                             "1\0\xc9t\xe9\x80\0\0",
                             30);
    ASSERT_EQ(Save(prefix, Reg::CurrentUser, kGatewaysKey, kGateways, list), ErrorCode::Success);
    ASSERT_EQ(Save(prefix, Reg::CurrentUser, kW3Key, kGateways, w3List), ErrorCode::Success);
    ASSERT_EQ(Save(prefix, Reg::LocalMachine, "Software\\Blizzard Entertainment\\Diablo II",
                   "Gateways",
                   std::string("1001\0"
                               "00\0\0",
                               9)),
              ErrorCode::Success);
    const struct stat before = [&] {
        struct stat status {};
        stat((prefix / "user.reg").c_str(), &status);
        return status;
    }();

    ASSERT_EQ(wine.Wine({"reg", "export", "HKCU\\" + kGatewaysKey, "C:\\gateways.reg", "/y"}), 0);
    ASSERT_EQ(wine.Wine({"reg", "export", "HKCU\\" + kW3Key, "C:\\w3.reg", "/y"}), 0);
    ASSERT_EQ(wine.Wine({"reg", "export", "HKLM\\Software\\Blizzard Entertainment\\Diablo II",
                         "C:\\d2.reg", "/reg:32", "/y"}),
              0);
    EXPECT_EQ(WinePrefix::ExportedData(wine.DriveC() / "gateways.reg", kGateways), Utf16(list));
    EXPECT_EQ(WinePrefix::ExportedData(wine.DriveC() / "w3.reg", kGateways), Utf16(w3List));
    EXPECT_EQ(WinePrefix::ExportedData(wine.DriveC() / "d2.reg", "Gateways"),
              Utf16(std::string("1001\0"
                                "00\0\0",
                                9)));

    // When its server exits, Wine writes the hive in its own form; the lists read the same.
    ASSERT_EQ(wine.Server({"-w"}), 0);
    struct stat after {};
    ASSERT_EQ(stat((prefix / "user.reg").c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "Wine did not rewrite user.reg";
    EXPECT_EQ(Read(prefix, Reg::CurrentUser, kGatewaysKey, kGateways), list);
    EXPECT_EQ(Read(prefix, Reg::CurrentUser, kW3Key, kGateways), w3List);
}

TEST_F(WineInteropTest, ARunningWineServerRefusesTheSave)
{
    const fs::path prefix = wine.Path();
    ASSERT_EQ(wine.Wine({"reg", "add", "HKCU\\" + kGatewaysKey, "/v", kGateways, "/t",
                         "REG_MULTI_SZ", "/d", "1001\\000", "/f"}),
              0);
    ASSERT_EQ(wine.Server({"-w"}), 0);
    const std::string hive = (prefix / "user.reg").string();

    // A server in the usual temporary folder, then one whose TMPDIR this process does not know.
    const fs::path otherTmp = dir.Path() / "other-tmp";
    fs::create_directory(otherTmp);
    for (const auto& environment : {std::map<std::string, std::string>{},
                                    std::map<std::string, std::string>{{"TMPDIR", otherTmp}}}) {
        const std::string original = HiveFiles::Read(hive);
        ASSERT_EQ(wine.Server({"-p"}, environment), 0);
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!WineServerDetector::IsRunning(prefix.string()) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        ASSERT_TRUE(WineServerDetector::IsRunning(prefix.string()));
        EXPECT_EQ(Save(prefix, Reg::CurrentUser, kGatewaysKey, kGateways,
                       std::string("1001\0"
                                   "00\0\0",
                                   9)),
                  ErrorCode::WineServerRunning);
        EXPECT_EQ(HiveFiles::Read(hive), original);
        ASSERT_EQ(wine.Server({"-k"}, environment), 0);
        ASSERT_EQ(wine.Server({"-w"}, environment), 0);
        EXPECT_FALSE(WineServerDetector::IsRunning(prefix.string()));
    }
    EXPECT_EQ(Save(prefix, Reg::CurrentUser, kGatewaysKey, kGateways,
                   std::string("1001\0"
                               "00\0\0",
                               9)),
              ErrorCode::Success);
}
} // namespace
