#include "app/AppStartup.h"
#include "data/CatalogXmlHandler.h"
#include "data/GameCatalog.h"
#include "data/Util.h"
#include "data/XmlReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string_view>

extern const std::string_view kEmbeddedConfigXml;

namespace {
class CatalogTest : public ::testing::Test {
protected:
    bool ParseText(const std::string& text)
    {
        // A parsed stream ends in one character that is left out: the NUL of a file.
        std::stringstream stream(text + '\0');
        return catalog.Parse(stream, &error);
    }

    std::string error;
    GameCatalog catalog;
};

TEST_F(CatalogTest, EmbeddedDocumentIsTheThreeGames)
{
    ASSERT_EQ(kEmbeddedConfigXml.size(), 1632u);
    EXPECT_EQ(kEmbeddedConfigXml.substr(0, 39), "<?xml version=\"1.0\" encoding=\"utf-8\" ?>");
    EXPECT_EQ(kEmbeddedConfigXml.substr(kEmbeddedConfigXml.size() - 10), "</Games>\r\n");

    ASSERT_TRUE(AppStartup::LoadCatalog(catalog, &error));
    EXPECT_EQ(error, "");
    ASSERT_EQ(catalog.Size(), 3u);

    struct Expected {
        const char* Name;
        const char* Version;
        const char* Patch;
        int Image;
        RegHandle BnetRoot;
        const char* BnetKey;
        const char* BnetValue;
        RegHandle ExeRoot;
        const char* ExeKey;
    };
    const Expected expected[] = {
        {"Starcraft/Broodwar", "I", "1.08b/1.09b", 0, Reg::CurrentUser,
         "SOFTWARE\\BATTLE.NET\\CONFIGURATION", "Battle.net gateways", Reg::LocalMachine,
         "SOFTWARE\\Blizzard Entertainment\\Starcraft"},
        {"Diablo", "II", "1.08/1.09b", 1, Reg::CurrentUser, "SOFTWARE\\BATTLE.NET\\CONFIGURATION",
         "Diablo II Battle.net gateways", Reg::LocalMachine,
         "SOFTWARE\\Blizzard Entertainment\\Diablo II"},
        {"Warcraft III", "1.0", "None", 3, Reg::CurrentUser,
         "SOFTWARE\\Blizzard Entertainment\\Warcraft III", "Battle.net gateways", Reg::CurrentUser,
         "SOFTWARE\\Blizzard Entertainment\\Warcraft III"},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].Name);
        const GameInfo& game = catalog[i];
        EXPECT_EQ(game.Name, expected[i].Name);
        EXPECT_EQ(game.Version, expected[i].Version);
        EXPECT_EQ(game.Patch, expected[i].Patch);
        EXPECT_EQ(game.ImageIndex, expected[i].Image);
        EXPECT_EQ(game.BnetConfigRoot, expected[i].BnetRoot);
        EXPECT_EQ(game.BnetConfigKey, expected[i].BnetKey);
        EXPECT_EQ(game.BnetConfigValueName, expected[i].BnetValue);
        EXPECT_EQ(game.ExeLocationRoot, expected[i].ExeRoot);
        EXPECT_EQ(game.ExeLocationKey, expected[i].ExeKey);
        EXPECT_EQ(game.ExeLocationValueName, "Program");
        EXPECT_TRUE(game.Servers.Empty());
    }
}

TEST_F(CatalogTest, DuplicateGamesAndServersUpdateTheFirstOfTheirName)
{
    ASSERT_TRUE(ParseText("<Games>\n"
                          "<Game Name=\"G\">\n<Version>1</Version>\n</Game>\n"
                          "<Game Name=\"G\">\n<Version>2</Version>\n<Patch>p</Patch>\n"
                          "<Server Name=\"S\">\n<Hostname>h1</Hostname>\n</Server>\n"
                          "<Server Name=\"S\">\n<Hostname>h2</Hostname>\n"
                          "<TimeZone>5</TimeZone>\n</Server>\n"
                          "</Game>\n</Games>\n"));
    ASSERT_EQ(catalog.Size(), 2u);
    EXPECT_EQ(catalog[0].Version, "2");
    EXPECT_EQ(catalog[0].Patch, "p");
    EXPECT_EQ(catalog[1].Name, "G");
    EXPECT_EQ(catalog[1].Version, "");
    ASSERT_EQ(catalog[0].Servers.Size(), 2u);
    EXPECT_EQ(catalog[0].Servers[0].Hostname, "h2");
    EXPECT_EQ(catalog[0].Servers[0].TimeZone, "5");
    EXPECT_EQ(catalog[0].Servers[1].Hostname, "");
    EXPECT_TRUE(catalog[1].Servers.Empty());
}

struct FieldCase {
    const char* Label;
    const char* GameBody;
    int Image;
    RegHandle BnetRoot;
    const char* Name;
};

class CatalogFieldCases : public CatalogTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(CatalogFieldCases, ReadsTheField)
{
    const FieldCase& c = GetParam();
    ASSERT_TRUE(ParseText(std::string("<Games>\n") + c.GameBody + "\n</Games>"));
    ASSERT_EQ(catalog.Size(), 1u);
    EXPECT_EQ(catalog[0].ImageIndex, c.Image);
    EXPECT_EQ(catalog[0].BnetConfigRoot, c.BnetRoot);
    EXPECT_EQ(catalog[0].Name, c.Name);
    EXPECT_EQ(error, "");
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CatalogFieldCases,
    ::testing::Values(
        FieldCase{"ImageIndexLeadingSpaceAndJunk",
                  "<Game Name=\"G\">\n<ImageIndex> 2x</ImageIndex>\n</Game>", 2, 0, "G"},
        FieldCase{"ImageIndexNoDigits", "<Game Name=\"G\">\n<ImageIndex>x</ImageIndex>\n</Game>", 0,
                  0, "G"},
        FieldCase{"ImageIndexNegative", "<Game Name=\"G\">\n<ImageIndex>-7</ImageIndex>\n</Game>",
                  -7, 0, "G"},
        FieldCase{"LastRepeatedFieldWins",
                  "<Game Name=\"G\">\n<ImageIndex>1</ImageIndex>\n<ImageIndex>4</ImageIndex>\n"
                  "</Game>",
                  4, 0, "G"},
        FieldCase{"RootWithTrailingSpaceIgnored",
                  "<Game Name=\"G\">\n<HKEYTYPE_BNET_CONFIG>HKEY_CURRENT_USER "
                  "</HKEYTYPE_BNET_CONFIG>\n</Game>",
                  0, 0, "G"},
        FieldCase{"RootRecognised",
                  "<Game Name=\"G\">\n<HKEYTYPE_BNET_CONFIG>HKEY_LOCAL_MACHINE"
                  "</HKEYTYPE_BNET_CONFIG>\n</Game>",
                  0, Reg::LocalMachine, "G"},
        FieldCase{"SingleQuotesGiveAnEmptyName", "<Game Name='Foo'>\n<Version>1</Version>\n</Game>",
                  0, 0, ""},
        FieldCase{"SecondAttributeRunsTheNameOn",
                  "<Game Name=\"A\" Id=\"B\">\n<Version>1</Version>\n</Game>", 0, 0, "A\" Id=\"B"},
        FieldCase{"LoneQuote", "<Game Name=\"A>\n<Version>1</Version>\n</Game>", 0, 0, "A"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(CatalogTest, ServersNeedAGameAndAChild)
{
    ASSERT_TRUE(ParseText("<Games>\n"
                          "<Server Name=\"Orphan\">\n<Hostname>h</Hostname>\n</Server>\n"
                          "<Game Name=\"G\">\n<Version>1</Version>\n"
                          "<Server Name=\"Empty\"></Server>\n"
                          "<Server Name=\"Closed\"/>\n"
                          "<Server Name=\"TzOnly\">\n<TimeZone>1</TimeZone>\n</Server>\n"
                          "<Version>late</Version>\n"
                          "<Hostname>after</Hostname>\n"
                          "</Game>\n</Games>\n"));
    ASSERT_EQ(catalog.Size(), 1u);
    const GameInfo& game = catalog[0];
    // A game field after a server is taken as a server field; a host name after the
    // server's end still goes to it.
    EXPECT_EQ(game.Version, "1");
    ASSERT_EQ(game.Servers.Size(), 1u);
    EXPECT_EQ(game.Servers[0].Name, "TzOnly");
    EXPECT_EQ(game.Servers[0].TimeZone, "1");
    EXPECT_EQ(game.Servers[0].Hostname, "after");
}

TEST_F(CatalogTest, HandlerFillsTheFirstServerOfANameAlsoWhenTheListHeldItBefore)
{
    catalog.AddGame("G");
    catalog[0].Servers.AddServer("Old", "", "");
    CatalogXmlHandler handler(&catalog);
    XmlReader reader;
    reader.SetHandler(&handler);
    const std::string text = "<Game Name=\"G\">\n"
                             "<Server Name=\"New\">\n<Hostname>n1</Hostname>\n</Server>\n"
                             "<Server Name=\"Old\">\n<Hostname>o</Hostname>\n</Server>\n"
                             "<Server Name=\"New\">\n<TimeZone>2</TimeZone>\n</Server>\n"
                             "</Game>\n";
    reader.Parse(text.data(), static_cast<std::int32_t>(text.size()));
    ASSERT_EQ(catalog[0].Servers.Size(), 4u);
    EXPECT_EQ(catalog[0].Servers[0].Hostname, "o");
    EXPECT_EQ(catalog[0].Servers[1].Hostname, "n1");
    EXPECT_EQ(catalog[0].Servers[1].TimeZone, "2");
    EXPECT_EQ(catalog[0].Servers[2].Hostname, "");
    EXPECT_EQ(catalog[0].Servers[3].TimeZone, "");
}

TEST_F(CatalogTest, ParseClearsEveryListFirst)
{
    ASSERT_TRUE(AppStartup::LoadCatalog(catalog));
    catalog[0].Servers.AddServer("a", "1", "h");
    catalog[2].Servers.AddServer("b", "2", "h");
    ASSERT_TRUE(ParseText("<Games>\n</Games>\n"));
    EXPECT_EQ(catalog.Size(), 3u);
    for (const GameInfo& game : catalog)
        EXPECT_TRUE(game.Servers.Empty());
}

class ThrowingBuffer : public std::streambuf {
public:
    explicit ThrowingBuffer(int kind) : m_kind(kind) {}

protected:
    int_type underflow() override
    {
        if (m_kind == 0)
            throw std::runtime_error("disk on fire");
        if (m_kind == 1)
            throw std::string("Failed to open configuration file");
        throw 7;
    }

private:
    int m_kind;
};

TEST_F(CatalogTest, ParseReportsEachKindOfException)
{
    const char* expected[] = {"Exception class: std::runtime_error\ndisk on fire",
                              "Failed to open configuration file", "Exception: Unknown"};
    for (int kind = 0; kind < 3; ++kind) {
        ThrowingBuffer buffer(kind);
        std::istream stream(&buffer);
        error.clear();
        EXPECT_FALSE(catalog.Parse(stream, &error));
        EXPECT_EQ(error, expected[kind]);
    }
}

TEST_F(CatalogTest, EmptyStreamGivesAnEmptyCatalogue)
{
    std::stringstream stream;
    EXPECT_TRUE(catalog.Parse(stream));
    EXPECT_TRUE(catalog.Empty());
}

TEST(GameCatalogLookups, FindAndRemoveActOnTheFirstOfAName)
{
    GameCatalog catalog;
    EXPECT_EQ(catalog.FindByName("G"), nullptr);
    catalog.AddGame("G");
    catalog.AddGame("G");
    EXPECT_EQ(catalog.FindByName("G"), &catalog[0]);
    EXPECT_EQ(catalog.FindByName("g"), nullptr);

    ServerList& list = catalog[0].Servers;
    list.AddServer("S", "1", "first");
    list.AddServer("S", "2", "second");
    list.AddServer("T");
    ASSERT_NE(list.FindByName("S"), nullptr);
    EXPECT_EQ(list.FindByName("S")->Hostname, "first");
    EXPECT_EQ(list.FindByName("s"), nullptr);
    EXPECT_TRUE(list.RemoveByName("S"));
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_EQ(list[0].Hostname, "second");
    EXPECT_EQ(list[1].Name, "T");
    EXPECT_FALSE(list.RemoveByName("missing"));
}

TEST(UtilConversions, RootNamesAndDecimalValues)
{
    EXPECT_EQ(Util::ConvertStringToHKEY("HKEY_CURRENT_USER"), Reg::CurrentUser);
    EXPECT_EQ(Util::ConvertStringToHKEY("HKEY_LOCAL_MACHINE"), Reg::LocalMachine);
    for (const char* wrong : {"hkey_current_user", "HKEY_USERS", "", "HKEY_LOCAL_MACHINE "}) {
        try {
            Util::ConvertStringToHKEY(wrong);
            ADD_FAILURE() << wrong;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Util::ConvertStringToHKEY() -> Error: wrong value");
        }
    }

    const std::pair<const char*, int> decimals[] = {{"12", 12},
                                                    {" \t\n7", 7},
                                                    {"+3", 3},
                                                    {"-4x", -4},
                                                    {"", 0},
                                                    {"x1", 0},
                                                    {"0012", 12},
                                                    {"99999999999", 2147483647},
                                                    {"-99999999999", -2147483647 - 1}};
    for (const auto& [text, value] : decimals)
        EXPECT_EQ(Util::DecimalValue(text), value) << text;
}
} // namespace
