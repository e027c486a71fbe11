#include "HiveFiles.h"
#include "PorticoProcess.h"
#include "TempDir.h"
#include "TempWinePrefix.h"
#include "WinePrefix.h"

#include "data/AnsiCodePage.h"
#include "platform/WineServerDetector.h"

#include <gmock/gmock.h>

#include <chrono>
#include <thread>

using namespace std::string_literals;
using ::testing::HasSubstr;

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ScriptWineTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!WinePrefix::Available())
            GTEST_SKIP() << "Wine is not installed";
    }

    PorticoProcess::Result Portico(std::vector<std::string> arguments, const fs::path& prefix)
    {
        arguments.insert(arguments.end(), {"--prefix", prefix.string()});
        return PorticoProcess::Run(work.Path(), arguments);
    }

    TempDir work;
};

TEST_F(ScriptWineTest, WineReadsWhatPorticoAdded)
{
    const WinePrefix wine(work.Path() / "prefix");
    // Wine makes the prefix with its first command; the games are recorded as their
    // installers record them, a list as a script sets it with reg.exe.
    ASSERT_EQ(wine.Wine({"reg", "add", "HKLM\\Software\\Blizzard Entertainment\\Starcraft", "/v",
                         "Program", "/d", "C:\\Games\\StarCraft.exe", "/reg:32", "/f"}),
              0);
    ASSERT_EQ(wine.Wine({"reg", "add", "HKCU\\Software\\Blizzard Entertainment\\Warcraft III", "/v",
                         "Program", "/d", "C:\\Games\\war3.exe", "/f"}),
              0);
    ASSERT_EQ(wine.Wine({"reg", "add", "HKCU\\Software\\Battle.net\\Configuration", "/v",
                         "Battle.net gateways", "/t", "REG_MULTI_SZ", "/d",
                         "1001\\005\\0uswest.battle.net\\08\\0U.S. West", "/f"}),
              0);
    ASSERT_EQ(wine.Server({"-w"}), 0);

    const PorticoProcess::Result added =
        Portico({"add", "--game", "sc", "--name", "Local", "--host", "127.0.0.1", "--zone", "-5"},
                wine.Path());
    ASSERT_EQ(added.ExitStatus, 0) << added.Errors;
    const PorticoProcess::Result accented =
        Portico({"add", "--game", "w3", "--name", "Caf\xc3\xa9 \xe2\x82\xac", "--host",
                 "w3.example", "--zone", "0"},
                wine.Path());
    ASSERT_EQ(accented.ExitStatus, 0) << accented.Errors;

    std::string query;
    ASSERT_EQ(wine.Wine({"reg", "query", "HKCU\\Software\\Battle.net\\Configuration", "/v",
                         "Battle.net gateways"},
                        {}, &query),
              0);
    EXPECT_THAT(query, HasSubstr("    Battle.net gateways    REG_MULTI_SZ    "
                                 "1001\\005\\0uswest.battle.net\\08\\0U.S. West\\0"
                                 "127.0.0.1\\0-5\\0Local\r\n"));
    // reg.exe prints in the console's code page; its export keeps every character.
    ASSERT_EQ(wine.Wine({"reg", "export", "HKCU\\Software\\Blizzard Entertainment\\Warcraft III",
                         "C:\\w3.reg", "/y"}),
              0);
    EXPECT_EQ(WinePrefix::ExportedData(wine.DriveC() / "w3.reg", "Battle.net gateways"),
              HiveFiles::Utf16(AnsiCodePage::ToUtf16("1001\0"
                                                     "01\0"
                                                     "w3.example\0"
                                                     "0\0"
                                                     "Caf\xe9 \x80\0\0"s)));
}

TEST_F(ScriptWineTest, ARunningWineServerStopsTheCommandsThatWrite)
{
    TempWinePrefix prefix;
    prefix.Install(TempWinePrefix::Game::Starcraft);
    prefix.Write();
    const WinePrefix wine(prefix.Path());
    ASSERT_EQ(wine.Server({"-p"}), 0);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!WineServerDetector::IsRunning(prefix.Path()) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(WineServerDetector::IsRunning(prefix.Path()));

    const std::string before = prefix.ReadFile("user.reg");
    const std::vector<std::string> add{"add",    "--game", "sc",     "--name", "n",
                                       "--host", "h",      "--zone", "1"};
    const PorticoProcess::Result refused = Portico(add, prefix.Path());
    EXPECT_EQ(refused.ExitStatus, 3);
    EXPECT_EQ(refused.Errors,
              "portico: Starcraft/Broodwar was not saved: Wine is running for this prefix and "
              "would overwrite the change: close the games, or run `wineserver -k`, then save "
              "again.\n");
    EXPECT_EQ(prefix.ReadFile("user.reg"), before);

    ASSERT_EQ(wine.Server({"-k"}), 0);
    ASSERT_EQ(wine.Server({"-w"}), 0);
    EXPECT_EQ(Portico(add, prefix.Path()).ExitStatus, 0);
}
} // namespace
