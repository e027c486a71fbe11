#include "MemoryRegistry.h"

#include "app/AppStartup.h"
#include "data/ErrorCodes.h"
#include "data/GameCatalog.h"
#include "data/GatewayListCodec.h"
#include "data/RegistryError.h"
#include "data/Util.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {
const std::string kBnetKey = "SOFTWARE\\BATTLE.NET\\CONFIGURATION";
const std::string kWarcraftKey = "SOFTWARE\\Blizzard Entertainment\\Warcraft III";

class GatewayListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AppStartup::LoadCatalog(catalog));
        // Starcraft and Warcraft III installed; Diablo II is not.
        registry.Put(Reg::LocalMachine, "Software\\Blizzard Entertainment\\Starcraft", "Program",
                     "C:\\Starcraft\\StarCraft.exe", Reg::TypeSz);
        registry.AddKey(Reg::CurrentUser, kWarcraftKey);
        registry.AddKey(Reg::CurrentUser, kBnetKey);
    }
    void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0u); }

    GameInfo& Starcraft() { return catalog[0]; }
    GameInfo& Diablo() { return catalog[1]; }
    GameInfo& Warcraft() { return catalog[2]; }
    std::string StoredStarcraft() const
    {
        auto value = registry.Get(Reg::CurrentUser, kBnetKey, "Battle.net gateways");
        return value ? value->Data : "<missing>";
    }

    MemoryRegistry registry;
    GameCatalog catalog;
};

TEST_F(GatewayListTest, EmptyListIsNineBytes)
{
    ASSERT_TRUE(Starcraft().SaveGateways(registry));
    EXPECT_EQ(StoredStarcraft(), "1001\0"s
                                 "00\0"s
                                 "\0"s);
    EXPECT_EQ(registry.Get(Reg::CurrentUser, kBnetKey, "Battle.net gateways")->Type,
              Reg::TypeMultiSz);
    Starcraft().Servers.AddServer("x", "1", "h");
    EXPECT_EQ(Starcraft().LoadGateways(registry), 0);
    EXPECT_TRUE(Starcraft().Servers.Empty());
}

TEST_F(GatewayListTest, SaveAndLoadKeepEveryByteOfTheTexts)
{
    // Colour codes and 8-bit characters of real server names; blanks and punctuation.
    const std::string names[] = {"\x04"
                                 "Europe\x06 (\xE9t\xE9)",
                                 "\x07Name, with: punct!", ""};
    Starcraft().Servers.AddServer(names[0], "-1", "eu.example.net");
    Starcraft().Servers.AddServer(names[1], "", "192.0.2.7");
    Starcraft().Servers.AddServer(names[2], "\xFF\x81", "h\x8D");
    ASSERT_TRUE(Starcraft().SaveGateways(registry));

    EXPECT_EQ(Starcraft().LoadGateways(registry), 3);
    ASSERT_EQ(Starcraft().Servers.Size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Starcraft().Servers[i].Name, names[i]);
    EXPECT_EQ(Starcraft().Servers[1].TimeZone, "");
    EXPECT_EQ(Starcraft().Servers[2].TimeZone, "\xFF\x81");
    EXPECT_EQ(Starcraft().Servers[2].Hostname, "h\x8D");
    for (const ServerInfo& s : Starcraft().Servers) {
        EXPECT_EQ(s.PingTime, "");
        EXPECT_EQ(s.Status, "");
    }
}

TEST_F(GatewayListTest, HundredServersReadBackWholeBeyondOneKilobyte)
{
    for (int i = 0; i < 100; ++i)
        Starcraft().Servers.AddServer("Server number " + std::to_string(i), std::to_string(i % 24),
                                      "host" + std::to_string(i) + ".example.org");
    Starcraft().Servers[7].PingTime = "12";
    ASSERT_TRUE(Starcraft().SaveGateways(registry));
    const std::string stored = StoredStarcraft();
    EXPECT_GT(stored.size(), 1024u);
    EXPECT_EQ(stored.substr(0, 9), "1001\0"
                                   "100\0"s);

    EXPECT_EQ(Starcraft().LoadGateways(registry), 100);
    ASSERT_EQ(Starcraft().Servers.Size(), 100u);
    EXPECT_EQ(Starcraft().Servers[99].Hostname, "host99.example.org");
    EXPECT_EQ(Starcraft().Servers[7].PingTime, "");
    // The next save writes the same bytes, not an empty list.
    ASSERT_TRUE(Starcraft().SaveGateways(registry));
    EXPECT_EQ(StoredStarcraft().size(), stored.size());
}

struct DecodeCase {
    const char* Label;
    std::string Value;
    int Count;
    std::vector<std::string> Triples; // host|tz|name per server
};

class GatewayDecodeCases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(GatewayDecodeCases, ReadsTheTriples)
{
    const DecodeCase& c = GetParam();
    const auto decoded = GatewayListCodec::Decode(c.Value.data(), c.Value.size());
    EXPECT_EQ(decoded.Count, c.Count);
    std::vector<std::string> triples;
    for (const ServerInfo& s : decoded.Servers)
        triples.push_back(s.Hostname + "|" + s.TimeZone + "|" + s.Name);
    EXPECT_EQ(triples, c.Triples);
}

INSTANTIATE_TEST_SUITE_P(Values, GatewayDecodeCases,
                         ::testing::Values(DecodeCase{"Empty", "", 0, {}},
                                           DecodeCase{"MarkerOnly", "1001\0"s, 0, {}},
                                           DecodeCase{"CountWithoutServers",
                                                      "1001\0"
                                                      "02\0"
                                                      "\0"s,
                                                      2,
                                                      {}},
                                           DecodeCase{"CountDisagreesWithTriples",
                                                      "1001\0"
                                                      "05\0"
                                                      "h\0"
                                                      "1\0"
                                                      "n\0"
                                                      "\0"s,
                                                      5,
                                                      {"h|1|n"}},
                                           DecodeCase{"EmptyFieldsRead",
                                                      "1001\0"
                                                      "02\0"
                                                      "h\0"
                                                      "\0"
                                                      "\0"
                                                      "g\0"
                                                      "2\0"
                                                      "m\0"
                                                      "\0"s,
                                                      2,
                                                      {"h||", "g|2|m"}},
                                           DecodeCase{"EmptyHostEndsTheList",
                                                      "1001\0"
                                                      "02\0"
                                                      "h\0"
                                                      "1\0"
                                                      "n\0"
                                                      "\0"
                                                      "g\0"
                                                      "2\0"
                                                      "m\0"
                                                      "\0"s,
                                                      2,
                                                      {"h|1|n"}},
                                           DecodeCase{"NoFinalNul",
                                                      "1001\0"
                                                      "01\0"
                                                      "h\0"
                                                      "1\0"
                                                      "n\0"s,
                                                      1,
                                                      {"h|1|n"}},
                                           DecodeCase{"CutAfterHost",
                                                      "1001\0"
                                                      "01\0"
                                                      "h\0"s,
                                                      1,
                                                      {"h||"}},
                                           DecodeCase{"CutAfterTimeZone",
                                                      "1001\0"
                                                      "01\0"
                                                      "h\0"
                                                      "3\0"s,
                                                      1,
                                                      {"h|3|"}},
                                           DecodeCase{"CutInsideHost",
                                                      "1001\0"
                                                      "01\0"
                                                      "hos"s,
                                                      1,
                                                      {"hos||"}},
                                           DecodeCase{"CutInsideName",
                                                      "1001\0"
                                                      "01\0"
                                                      "h\0"
                                                      "3\0"
                                                      "na"s,
                                                      1,
                                                      {"h|3|na"}},
                                           DecodeCase{"CountNotANumber",
                                                      "1001\0"
                                                      "xx\0"
                                                      "h\0"
                                                      "1\0"
                                                      "n\0"
                                                      "\0"s,
                                                      0,
                                                      {"h|1|n"}}),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST_F(GatewayListTest, HeaderOfAListThatWasReadIsWrittenBack)
{
    registry.Put(Reg::CurrentUser, kBnetKey, "Battle.net gateways",
                 "1002\0"
                 "01\0"
                 "a.example\0"
                 "1\0"
                 "A\0"
                 "b.example\0"
                 "2\0"
                 "B\0"
                 "\0"s);
    EXPECT_EQ(Starcraft().LoadGateways(registry), 1);
    ASSERT_TRUE(Starcraft().Servers.RemoveByName("A"));
    Starcraft().Servers.AddServer("C", "3", "c.example");
    Starcraft().Servers.AddServer("D", "4", "d.example");
    ASSERT_TRUE(Starcraft().SaveGateways(registry));
    EXPECT_EQ(StoredStarcraft(), "1002\0"
                                 "01\0"
                                 "b.example\0"
                                 "2\0"
                                 "B\0"
                                 "c.example\0"
                                 "3\0"
                                 "C\0"
                                 "d.example\0"
                                 "4\0"
                                 "D\0"
                                 "\0"s);

    // A list that did not exist gets the format version and the count.
    Starcraft().Servers.Clear();
    Warcraft().Servers.AddServer("W", "0", "w.example");
    EXPECT_EQ(Warcraft().LoadGateways(registry), 0);
    Warcraft().Servers.AddServer("W", "0", "w.example");
    ASSERT_TRUE(Warcraft().SaveGateways(registry));
    EXPECT_EQ(registry.Get(Reg::CurrentUser, kWarcraftKey, "Battle.net gateways")->Data,
              "1001\0"
              "01\0"
              "w.example\0"
              "0\0"
              "W\0"
              "\0"s);
}

TEST_F(GatewayListTest, ValuesOfOtherTypesAreReadAsBytes)
{
    for (std::uint32_t type : {Reg::TypeSz, Reg::TypeBinary}) {
        registry.Put(Reg::CurrentUser, kBnetKey, "Battle.net gateways",
                     "1001\0"
                     "01\0"
                     "h\0"
                     "1\0"
                     "n\0"
                     "\0"s,
                     type);
        EXPECT_EQ(Starcraft().LoadGateways(registry), 1);
        EXPECT_EQ(Starcraft().Servers.Size(), 1u);
    }
}

TEST_F(GatewayListTest, ServerWithoutHostNameIsNotStoredAndNamed)
{
    const std::string before = "1001\0"
                               "01\0"
                               "h\0"
                               "1\0"
                               "n\0"
                               "\0"s;
    registry.Put(Reg::CurrentUser, kBnetKey, "Battle.net gateways", before);
    Starcraft().Servers.AddServer("First", "1", "a.example");
    Starcraft().Servers.AddServer("No host", "2", "");
    Starcraft().Servers.AddServer("Last", "3", "c.example");

    std::string reason;
    EXPECT_FALSE(Starcraft().SaveGateways(registry, &reason));
    EXPECT_THAT(reason, ::testing::HasSubstr("\"No host\""));
    EXPECT_THAT(reason, ::testing::HasSubstr("no host name"));
    EXPECT_EQ(StoredStarcraft(), before);
    EXPECT_EQ(registry.Calls(MemoryRegistry::Operation::Set), 0);

    Starcraft().Servers[1].Hostname = "b.example";
    Starcraft().Servers[2].Name = "La\0st"s;
    EXPECT_FALSE(Starcraft().SaveGateways(registry, &reason));
    EXPECT_THAT(reason, ::testing::HasSubstr("NUL"));
    EXPECT_EQ(StoredStarcraft(), before);
}

TEST_F(GatewayListTest, AFailedSaveGivesTheCodeThatStoppedIt)
{
    Starcraft().Servers.AddServer("S", "1", "");
    RegStatus status = 0;
    EXPECT_FALSE(Starcraft().SaveGateways(registry, nullptr, &status));
    EXPECT_EQ(status, static_cast<RegStatus>(ErrorCode::InvalidParameter));

    Starcraft().Servers[0].Hostname = "s.example";
    for (const std::uint32_t code : {ErrorCode::WineServerRunning, ErrorCode::AccessDenied}) {
        registry.FailWith(MemoryRegistry::Operation::Set, static_cast<RegStatus>(code));
        std::string reason;
        EXPECT_FALSE(Starcraft().SaveGateways(registry, &reason, &status));
        EXPECT_EQ(status, static_cast<RegStatus>(code));
        EXPECT_EQ(reason, Util::FormatErrorMessage(registry.ErrorTexts(), code));
    }

    registry.FailWith(MemoryRegistry::Operation::Open,
                      static_cast<RegStatus>(ErrorCode::FileNotFound));
    try {
        Starcraft().LoadGateways(registry);
        FAIL() << "no exception";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Code(), static_cast<RegStatus>(ErrorCode::FileNotFound));
    }
}

TEST_F(GatewayListTest, InstalledMeansTheKeyOpens)
{
    EXPECT_TRUE(Starcraft().IsInstalled(registry));
    EXPECT_FALSE(Diablo().IsInstalled(registry));
    // The installation key without its value still counts.
    EXPECT_TRUE(Warcraft().IsInstalled(registry));
    GameInfo unknown("Imported only");
    EXPECT_FALSE(unknown.IsInstalled(registry));
}

TEST_F(GatewayListTest, LoadFromAMissingKeyThrowsTheSystemText)
{
    registry.FailWith(MemoryRegistry::Operation::Open,
                      static_cast<RegStatus>(ErrorCode::AccessDenied));
    Starcraft().Servers.AddServer("x", "1", "h");
    try {
        Starcraft().LoadGateways(registry);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Access is denied.");
    }
    EXPECT_TRUE(Starcraft().Servers.Empty());
}

TEST_F(GatewayListTest, SaveAllGoesOnAndReportsEachGame)
{
    Starcraft().Servers.AddServer("No host", "2", "");
    Warcraft().Servers.AddServer("W", "1", "w.example");
    SaveReport report;
    EXPECT_TRUE(catalog.SaveAll(registry, &report));
    EXPECT_THAT(report.Saved, ::testing::ElementsAre("Warcraft III"));
    ASSERT_EQ(report.Failed.size(), 1u);
    EXPECT_EQ(report.Failed[0].GameName, "Starcraft/Broodwar");
    EXPECT_FALSE(registry.Get(Reg::CurrentUser, kBnetKey, "Diablo II Battle.net gateways"));

    registry.FailWith(MemoryRegistry::Operation::Set,
                      static_cast<RegStatus>(ErrorCode::AccessDenied));
    Starcraft().Servers[0].Hostname = "s.example";
    SaveReport denied;
    EXPECT_TRUE(catalog.SaveAll(registry, &denied));
    EXPECT_THAT(denied.Saved, ::testing::IsEmpty());
    ASSERT_EQ(denied.Failed.size(), 2u);
    EXPECT_EQ(denied.Failed[1].GameName, "Warcraft III");
    EXPECT_EQ(denied.Failed[1].Reason, "Access is denied.");
}

TEST_F(GatewayListTest, ReloadAllStopsAtTheFirstGameThatFails)
{
    registry.Put(Reg::CurrentUser, kBnetKey, "Battle.net gateways",
                 "1001\0"
                 "01\0"
                 "h\0"
                 "1\0"
                 "n\0"
                 "\0"s);
    Warcraft().Servers.AddServer("kept", "1", "h");
    registry.AddKey(Reg::LocalMachine, "Software\\Blizzard Entertainment\\Diablo II");
    // Diablo II's list shares Starcraft's key; an import can point a game elsewhere.
    Diablo().BnetConfigKey = "SOFTWARE\\Nowhere";

    GameError stopped;
    EXPECT_FALSE(catalog.ReloadAll(registry, &stopped));
    EXPECT_EQ(stopped.GameName, "Diablo");
    EXPECT_EQ(stopped.Reason, "The system cannot find the file specified.");
    EXPECT_EQ(Starcraft().Servers.Size(), 1u);
    EXPECT_EQ(Warcraft().Servers.Size(), 1u);
    EXPECT_EQ(Warcraft().Servers[0].Name, "kept");

    Diablo().BnetConfigKey = kBnetKey;
    EXPECT_TRUE(catalog.ReloadAll(registry));
    EXPECT_TRUE(Warcraft().Servers.Empty());
}

TEST_F(GatewayListTest, ReloadAllPassesGamesThatAreNotInstalled)
{
    // Diablo II is not installed and its list lives under a key that does not exist.
    Diablo().BnetConfigKey = "SOFTWARE\\Nowhere";
    Diablo().Servers.AddServer("stale", "1", "h");
    registry.Put(Reg::CurrentUser, kWarcraftKey, "Battle.net gateways",
                 "1001\0"
                 "01\0"
                 "w\0"
                 "1\0"
                 "W\0"
                 "\0"s);
    GameError stopped;
    EXPECT_TRUE(catalog.ReloadAll(registry, &stopped));
    EXPECT_TRUE(Diablo().Servers.Empty());
    EXPECT_EQ(Warcraft().Servers.Size(), 1u);
    EXPECT_EQ(stopped.GameName, "");
}
} // namespace
