#include "FakeWineServer.h"
#include "HiveFiles.h"
#include "TempDir.h"
#include "app/AppStartup.h"
#include "data/GameCatalog.h"
#include "platform/WineRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {
// The data layer's catalogue over the registry of a prefix cut from Wine's own files.
class GameCatalogOverWineTest : public testing::Test {
protected:
    void SetUp() override
    {
        HiveFiles::Write(Hive("user.reg"), HiveFiles::Fixture("user.reg"));
        HiveFiles::Write(Hive("system.reg"), HiveFiles::Fixture("system.reg"));
        ASSERT_TRUE(AppStartup::LoadCatalog(catalog));
        ASSERT_EQ(catalog.Size(), 3u);
    }
    std::string Hive(const char* name) const { return (dir.Path() / name).string(); }
    GameInfo& Starcraft() { return catalog[0]; }
    GameInfo& Diablo() { return catalog[1]; }
    GameInfo& Warcraft() { return catalog[2]; }

    TempDir dir;
    WineRegistry registry{dir.Path().string()};
    GameCatalog catalog;
};

TEST_F(GameCatalogOverWineTest, InstalledGamesAndListsAreWhatTheGamesSee)
{
    EXPECT_TRUE(Starcraft().IsInstalled(registry));
    EXPECT_FALSE(Diablo().IsInstalled(registry));
    EXPECT_FALSE(Warcraft().IsInstalled(registry));

    EXPECT_EQ(Starcraft().LoadGateways(registry), 1);
    ASSERT_EQ(Starcraft().Servers.Size(), 2u);
    EXPECT_EQ(Starcraft().Servers[0].Hostname, "uswest.battle.net");
    EXPECT_EQ(Starcraft().Servers[0].TimeZone, "8");
    EXPECT_EQ(Starcraft().Servers[0].Name, "U.S. West");
    EXPECT_EQ(Starcraft().Servers[1].Name, "U.S. East");
    EXPECT_EQ(Diablo().LoadGateways(registry), 0);
    EXPECT_TRUE(Diablo().Servers.Empty());

    // Diablo II's key added with Wine's 64-bit reg.exe: the game counts as installed.
    std::string system = HiveFiles::Read(Hive("system.reg"));
    system.insert(system.find("[Software\\\\Borland"),
                  "[Software\\\\Blizzard Entertainment\\\\Diablo II] 1796855091\n"
                  "\"Program\"=\"C:\\\\D2\\\\Game.exe\"\n\n");
    HiveFiles::Write(Hive("system.reg"), system);
    EXPECT_TRUE(Diablo().IsInstalled(registry));
}

TEST_F(GameCatalogOverWineTest, SavedListsReadBackInAFreshProgram)
{
    Starcraft().Servers.Clear();
    Starcraft().Servers.AddServer("\x04\x06\x07Gateway \xc9t\xe9 \x80", "-5", "one.example");
    Starcraft().Servers.AddServer("Second", "", "two.example");
    Diablo().Servers.AddServer("Not installed", "1", "three.example");
    SaveReport report;
    ASSERT_TRUE(catalog.SaveAll(registry, &report));
    EXPECT_THAT(report.Saved, testing::ElementsAre("Starcraft/Broodwar"));
    EXPECT_TRUE(report.Failed.empty());

    WineRegistry fresh(dir.Path().string());
    GameCatalog reloaded;
    ASSERT_TRUE(AppStartup::LoadCatalog(reloaded));
    // Warcraft III is not installed and has no key in this prefix: its list stays empty.
    GameError stoppedAt;
    EXPECT_TRUE(reloaded.ReloadAll(fresh, &stoppedAt));
    EXPECT_EQ(stoppedAt.GameName, "");
    EXPECT_TRUE(reloaded[2].Servers.Empty());
    ASSERT_EQ(reloaded[0].Servers.Size(), 2u);
    EXPECT_EQ(reloaded[0].Servers[0].Name, "\x04\x06\x07Gateway \xc9t\xe9 \x80");
    EXPECT_EQ(reloaded[0].Servers[0].Hostname, "one.example");
    EXPECT_EQ(reloaded[0].Servers[1].TimeZone, "");
    EXPECT_TRUE(reloaded[1].Servers.Empty());
    EXPECT_NE(HiveFiles::Read(Hive("user.reg"))
                  .find("\"Battle.net gateways\"=str(7):\"1001\\00002\\0one.example\\0-5\\0\\4\\6"
                        "\\aGateway \\xc9t\\xe9 \\x20ac\\0two.example\\0\\0Second\\0\""),
              std::string::npos);
}

TEST_F(GameCatalogOverWineTest, ARunningWineServerFailsTheSaveWithWhatToDo)
{
    const std::string original = HiveFiles::Read(Hive("user.reg"));
    FakeWineServer server(dir.Path() / "server-tmp" / FakeWineServer::FolderName(dir.Path()));
    ASSERT_TRUE(server.Running());
    std::string reason;
    EXPECT_FALSE(Starcraft().SaveGateways(registry, &reason));
    EXPECT_THAT(reason, testing::HasSubstr("run `wineserver -k`, then save again"));
    EXPECT_EQ(HiveFiles::Read(Hive("user.reg")), original);
}
} // namespace
