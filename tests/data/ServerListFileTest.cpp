#include "TempDir.h"

#include "app/AppStartup.h"
#include "data/GameCatalog.h"
#include "data/ServerListFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace std::string_literals;
using ::testing::IsEmpty;

namespace {
const std::string kFixtures = PORTICO_DATA_FIXTURES;

class ServerListFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AppStartup::LoadCatalog(catalog)); }

    // What the import command does: read the file, then parse it into the catalogue.
    bool Import(const std::string& path)
    {
        std::stringstream stream;
        return ReadServerListFile(path, stream, &error) && catalog.Parse(stream, &error);
    }
    std::vector<std::string> Names(std::size_t game) const
    {
        std::vector<std::string> names;
        for (const ServerInfo& s : catalog[game].Servers)
            names.push_back(s.Name + "@" + s.Hostname + "/" + s.TimeZone);
        return names;
    }

    TempDir dir;
    std::string error;
    GameCatalog catalog;
};

TEST_F(ServerListFileTest, ReadsTextWithoutLeadingBlanksAndAppendsOneNul)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<a>1</a>", "<a>1</a>\0"s},
        {" \t\r\n\n<a>1</a>\r\n", "<a>1</a>\n\0"s},
        {"<a>x\r\ny\r</a>\r", "<a>x\ny\r</a>\r\0"s},
        {"<a>x\0y</a>"s, "<a>x\0y</a>\0"s},
    };
    for (const auto& [file, expected] : cases) {
        std::stringstream stream;
        ASSERT_TRUE(ReadServerListFile(dir.Write("f.xml", file).string(), stream, &error));
        EXPECT_EQ(stream.str(), expected);
    }
    EXPECT_EQ(error, "");
}

TEST_F(ServerListFileTest, FailuresSayWhyAndLeaveTheListsAlone)
{
    catalog[0].Servers.AddServer("kept", "1", "h");
    const struct {
        std::string Path;
        std::string Message;
    } cases[] = {
        {(dir.Path() / "missing.xml").string(), "Failed to open configuration file"},
        {dir.Write("empty.xml", "").string(),
         "Exception class: std::runtime_error\nThe file is empty or holds only white space."},
        {dir.Write("blank.xml", " \r\n\t\n").string(),
         "Exception class: std::runtime_error\nThe file is empty or holds only white space."},
    };
    for (const auto& c : cases) {
        error.clear();
        EXPECT_FALSE(Import(c.Path));
        EXPECT_EQ(error, c.Message);
    }
    EXPECT_EQ(catalog[0].Servers.Size(), 1u);
}

TEST_F(ServerListFileTest, ImportsAFileWithBlankLinesAndCrLf)
{
    catalog[1].Servers.AddServer("gone", "1", "h");
    ASSERT_TRUE(Import(kFixtures + "/servers-crlf.xml"));
    EXPECT_THAT(Names(0), ::testing::ElementsAre("\x04U.S. West@uswest.example.net/-8",
                                                 "Europe \xE9@europe.example.net/1"));
    EXPECT_THAT(Names(1), IsEmpty());
    EXPECT_THAT(Names(2), ::testing::ElementsAre("Asia@asia.example.net/9"));
    // Each game element appends a record, which the lookups never reach.
    EXPECT_EQ(catalog.Size(), 5u);

    // A second import leaves the same lists.
    ASSERT_TRUE(Import(kFixtures + "/servers-crlf.xml"));
    EXPECT_EQ(Names(0).size(), 2u);
    EXPECT_EQ(Names(2).size(), 1u);
    EXPECT_EQ(catalog.Size(), 7u);
}

TEST_F(ServerListFileTest, ImportsEveryServerOfAFileWithoutLineBreaks)
{
    ASSERT_TRUE(Import(kFixtures + "/servers-one-line.xml"));
    EXPECT_THAT(Names(0), ::testing::ElementsAre("A@a.example/1", "B@b.example/2"));
    EXPECT_THAT(Names(1), ::testing::ElementsAre("C@c.example/3"));
}

TEST_F(ServerListFileTest, GameNamesMatchExactly)
{
    const auto path = dir.Write("lower.xml", "<Games>\n<Game Name=\"warcraft iii\">\n"
                                             "<Server Name=\"X\">\n<Hostname>x</Hostname>\n"
                                             "</Server>\n</Game>\n</Games>\n");
    catalog[2].Servers.AddServer("old", "1", "h");
    ASSERT_TRUE(Import(path.string()));
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_THAT(Names(i), IsEmpty());
    ASSERT_EQ(catalog.Size(), 4u);
    EXPECT_THAT(Names(3), ::testing::ElementsAre("X@x/"));
}

TEST_F(ServerListFileTest, FileCanMoveWhereAGameListLives)
{
    const auto path = dir.Write("moved.xml", "<Games>\n<Game Name=\"Diablo\">\n"
                                             "<HKEY_BNET_CONFIG>SOFTWARE\\Elsewhere"
                                             "</HKEY_BNET_CONFIG>\n</Game>\n</Games>\n");
    ASSERT_TRUE(Import(path.string()));
    EXPECT_EQ(catalog[1].BnetConfigKey, "SOFTWARE\\Elsewhere");
}

TEST_F(ServerListFileTest, MalformedFileClearsTheListsAndKeepsWhatCameBefore)
{
    const std::pair<std::string, std::size_t> cases[] = {
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<Games>\n<Game Name=\"Diablo\">\n"
         "<Server Name=\"X\">\n<Hostname>x</Hostname>\n</Server>\n</Game>\n</Games>\n",
         0},
        {"<Games>\n<Game Name=\"Diablo\">\n<Server Name=\"X\">\n<Hostname>x</Hostname>\n"
         "</Server>\n<Server Name=\"Y\">\n<Hostname>y</Hostname>\n</Game>\n</Games>\n",
         1},
    };
    for (const auto& [text, servers] : cases) {
        catalog[0].Servers.AddServer("old", "1", "h");
        ASSERT_TRUE(Import(dir.Write("bad.xml", text).string()));
        EXPECT_THAT(Names(0), IsEmpty());
        EXPECT_EQ(catalog[1].Servers.Size(), servers);
    }
    EXPECT_EQ(error, "");
}
} // namespace
