#include "cli/ServerListWriter.h"

#include "data/GameCatalog.h"
#include "data/ServerListFile.h"

#include <gmock/gmock.h>

#include <sstream>
#include <string>
#include <vector>

using ::testing::HasSubstr;

namespace {
// The lists the import reads from a file, game by game.
GameCatalog Import(const std::string& file)
{
    std::stringstream stream(std::ios::in | std::ios::out);
    GameCatalog catalog;
    EXPECT_TRUE(ReadServerListText(file, stream));
    EXPECT_TRUE(catalog.Parse(stream));
    return catalog;
}

bool SameServers(const ServerList& a, const ServerList& b)
{
    if (a.Size() != b.Size())
        return false;
    for (std::size_t i = 0; i < a.Size(); ++i) {
        if (a[i].Name != b[i].Name || a[i].Hostname != b[i].Hostname ||
            a[i].TimeZone != b[i].TimeZone)
            return false;
    }
    return true;
}

GameInfo GameWith(const std::string& name, const std::vector<ServerInfo>& servers)
{
    GameInfo game(name);
    for (const ServerInfo& server : servers)
        game.Servers.AddServer(server.Name, server.TimeZone, server.Hostname);
    return game;
}

TEST(ServerListWriter, WritesOneTagALineThatImportReadsBackWhole)
{
    std::string every;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '<' && byte != '>' && byte != '\r')
            every.push_back(static_cast<char>(byte));
    }
    const GameInfo starcraft =
        GameWith("Starcraft/Broodwar", {{"A \"quoted\" & <odd name", "-5", "h&x>.example"},
                                        {" spaced ", "", " padded "},
                                        {every, every + ">", every + ">"},
                                        {"CR\ronly", "z\r", "\rh"}});
    const GameInfo warcraft = GameWith("Warcraft III", {{"Two\nLines", "1", "w3.example"}});
    const GameInfo diablo = GameWith("Diablo", {});

    std::string file;
    std::string problem;
    ASSERT_TRUE(ServerListWriter::Write({&starcraft, &diablo, &warcraft}, file, &problem))
        << problem;
    EXPECT_EQ(file.substr(0, file.find("<Server")),
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
              "<Games>\n"
              "<Game Name=\"Starcraft/Broodwar\">\n");
    GameCatalog read = Import(file);
    for (const GameInfo* game : {&starcraft, &diablo, &warcraft}) {
        const GameInfo* back = read.FindByName(game->Name);
        ASSERT_NE(back, nullptr) << game->Name;
        EXPECT_TRUE(SameServers(back->Servers, game->Servers)) << game->Name;
    }
}

// The writer refuses a server exactly when the file would not carry it: every value of a few
// characters that matter to the reader, in each field in turn.
TEST(ServerListWriter, RefusesExactlyWhatTheImportWouldReadOtherwise)
{
    const std::string alphabet = "<>\"&\r\n/a";
    std::vector<std::string> values{""};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].size() < 3) {
            for (const char c : alphabet)
                values.push_back(values[i] + c);
        }
    }
    int refused = 0;
    for (int field = 0; field < 3; ++field) {
        for (const std::string& value : values) {
            ServerInfo server("name", "1", "host");
            (field == 0 ? server.Name : field == 1 ? server.Hostname : server.TimeZone) = value;
            const GameInfo game = GameWith("Warcraft III", {server});
            // The layout the writer uses, without its checks.
            const std::string plain = "<Games>\n<Game Name=\"Warcraft III\">\n<Server Name=\"" +
                                      server.Name + "\">\n<Hostname>" + server.Hostname +
                                      "</Hostname>\n<TimeZone>" + server.TimeZone +
                                      "</TimeZone>\n</Server>\n</Game>\n</Games>\n";
            GameCatalog read = Import(plain);
            const bool carried = read.Size() == 1 && SameServers(read[0].Servers, game.Servers);

            std::string file;
            std::string problem;
            const bool written = ServerListWriter::Write({&game}, file, &problem);
            EXPECT_EQ(written, carried) << "field " << field << ", value '" << value << "'";
            if (written)
                EXPECT_EQ(file.substr(file.find("<Games>")), plain);
            else
                EXPECT_THAT(problem, HasSubstr("of Warcraft III cannot be written"));
            refused += !written;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(ServerListWriter, RefusesTwoServersOfOneName)
{
    const GameInfo game =
        GameWith("Diablo", {{"Realm", "1", "a.example"}, {"Realm", "2", "b.example"}});
    std::string file = "untouched";
    std::string problem;
    EXPECT_FALSE(ServerListWriter::Write({&game}, file, &problem));
    EXPECT_EQ(problem, "The server 'Realm' of Diablo is in the list twice; the import would "
                       "merge the two into the first.");
    EXPECT_EQ(file, "untouched");
}
} // namespace
