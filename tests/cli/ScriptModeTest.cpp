#include "FakeWineServer.h"
#include "PorticoProcess.h"
#include "TempWinePrefix.h"

#include "data/RegistryApi.h"
#include "data/Util.h"
#include "platform/WineRegistry.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using Game = TempWinePrefix::Game;

namespace {
namespace fs = std::filesystem;

const std::string kFixtures = PORTICO_CLI_FIXTURES;
const std::string kWineAdvice = "Wine is running for this prefix and would overwrite the change: "
                                "close the games, or run `wineserver -k`, then save again.";

// The cases of the tables below: named and printed by their labels.
template <typename Case>
concept Labelled = requires(const Case& value)
{
    value.Label;
};

template <Labelled Case> void PrintTo(const Case& value, std::ostream* os)
{
    *os << value.Label;
}

struct ByLabel {
    template <typename Case> std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return info.param.Label;
    }
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A Wine prefix of the test's own, with the program run on it and its lists read back.
class ScriptModeTest : public testing::Test {
protected:
    // Writes the prefix: the three games installed, Starcraft with two servers, Diablo with one,
    // Warcraft III with no list at all.
    void SetUp() override
    {
        for (Game game : {Game::Starcraft, Game::Diablo, Game::Warcraft})
            prefix.Install(game);
        prefix.SetGateways(Game::Starcraft, {{"uswest.battle.net", "8", "U.S. West"},
                                             {"useast.battle.net", "6", "U.S. East"}});
        prefix.SetGateways(Game::Diablo, {{"europe.battle.net", "-1", "Europe"}});
        prefix.Write();
    }

    // The program with these arguments, on this prefix.
    PorticoProcess::Result Portico(std::vector<std::string> arguments,
                                   const PorticoProcess::Options& options = {})
    {
        arguments.insert(arguments.end(), {"--prefix", prefix.Path()});
        return PorticoProcess::Run(work.Path(), arguments, options);
    }

    // A game's gateway list value as the games read it, or "<none>".
    std::string Stored(Game game)
    {
        static const std::map<Game, std::pair<std::string, std::string>> kLists = {
            {Game::Starcraft, {"Software\\Battle.net\\Configuration", "Battle.net gateways"}},
            {Game::Diablo,
             {"Software\\Battle.net\\Configuration", "Diablo II Battle.net gateways"}},
            {Game::Warcraft,
             {"Software\\Blizzard Entertainment\\Warcraft III", "Battle.net gateways"}}};
        WineRegistry registry(prefix.Path());
        std::uint32_t size = 0;
        try {
            const std::string value =
                Util::ReadRegistryValue(registry, kLists.at(game).first, kLists.at(game).second, "",
                                        size, Reg::CurrentUser);
            return size == 0 ? "<none>" : value;
        } catch (const std::exception&) {
            return "<none>";
        }
    }

    std::string Json(const std::string& game)
    {
        const PorticoProcess::Result list = Portico({"list", "--game", game, "--format", "json"});
        EXPECT_EQ(list.ExitStatus, 0) << list.Errors;
        return list.Output;
    }

    std::string UserHive() const { return prefix.ReadFile("user.reg"); }

    TempWinePrefix prefix;
    TempDir work;
};

TEST_F(ScriptModeTest, AddThenListShowsTheServerAndKeepsTheHeader)
{
    const PorticoProcess::Result add = Portico(
        {"add", "--game", "sc", "--name", "Private", "--host", "127.0.0.1", "--zone", "-5"});
    EXPECT_EQ(add.ExitStatus, 0);
    EXPECT_THAT(add.Output, IsEmpty());
    EXPECT_THAT(add.Errors, IsEmpty());
    // The header strings stay as the game left them, though the list grew.
    EXPECT_EQ(Stored(Game::Starcraft), "1001\0"
                                       "02\0"
                                       "uswest.battle.net\0"
                                       "8\0"
                                       "U.S. West\0"
                                       "useast.battle.net\0"
                                       "6\0"
                                       "U.S. East\0"
                                       "127.0.0.1\0"
                                       "-5\0"
                                       "Private\0\0"s);
    EXPECT_EQ(Json("Starcraft/Broodwar"),
              "[\n"
              "  {\"game\": \"Starcraft/Broodwar\", \"alias\": \"sc\", \"servers\": [\n"
              "    {\"name\": \"U.S. West\", \"host\": \"uswest.battle.net\", \"zone\": \"8\"},\n"
              "    {\"name\": \"U.S. East\", \"host\": \"useast.battle.net\", \"zone\": \"6\"},\n"
              "    {\"name\": \"Private\", \"host\": \"127.0.0.1\", \"zone\": \"-5\"}\n"
              "  ]}\n"
              "]\n");

    // A game without a list gets one, with the usual header.
    ASSERT_EQ(Portico({"add", "--game", "W3", "--name", "Northrend", "--host", "w3.example",
                       "--zone", "0"})
                  .ExitStatus,
              0);
    EXPECT_EQ(Stored(Game::Warcraft), "1001\0"
                                      "01\0"
                                      "w3.example\0"
                                      "0\0"
                                      "Northrend\0\0"s);
    const PorticoProcess::Result list = Portico({"list"});
    EXPECT_EQ(list.ExitStatus, 0);
    EXPECT_EQ(list.Output, "Starcraft/Broodwar (sc)\n"
                           "  Name       Host               Zone\n"
                           "  U.S. West  uswest.battle.net  8\n"
                           "  U.S. East  useast.battle.net  6\n"
                           "  Private    127.0.0.1          -5\n"
                           "Diablo (d2)\n"
                           "  Name    Host               Zone\n"
                           "  Europe  europe.battle.net  -1\n"
                           "Warcraft III (w3)\n"
                           "  Name       Host        Zone\n"
                           "  Northrend  w3.example  0\n");
}

TEST_F(ScriptModeTest, AddingANameTheListHoldsIsRefusedWithoutReplace)
{
    const std::string before = UserHive();
    const PorticoProcess::Result add = Portico(
        {"add", "--game", "sc", "--name", "U.S. East", "--host", "other.example", "--zone", "1"});
    EXPECT_EQ(add.ExitStatus, 1);
    EXPECT_EQ(add.Errors, "portico: Starcraft/Broodwar already has a server named 'U.S. East'. "
                          "Choose another name, or replace that server with --replace.\n");
    EXPECT_EQ(UserHive(), before);
}

TEST_F(ScriptModeTest, ReplaceChangesTheServerInItsPlaceOrAddsIt)
{
    for (const char* name : {"U.S. West", "Asia"}) {
        const PorticoProcess::Result add = Portico({"add", "--game", "sc", "--name", name, "--host",
                                                    "new.example", "--zone", "-9", "--replace"});
        EXPECT_EQ(add.ExitStatus, 0) << add.Errors;
    }
    EXPECT_EQ(Stored(Game::Starcraft), "1001\0"
                                       "02\0"
                                       "new.example\0"
                                       "-9\0"
                                       "U.S. West\0"
                                       "useast.battle.net\0"
                                       "6\0"
                                       "U.S. East\0"
                                       "new.example\0"
                                       "-9\0"
                                       "Asia\0\0"s);
}

TEST_F(ScriptModeTest, RemoveTakesOutTheServerAndRefusesANameTheListLacks)
{
    const PorticoProcess::Result removed =
        Portico({"remove", "--game", "sc", "--name", "U.S. West"});
    EXPECT_EQ(removed.ExitStatus, 0) << removed.Errors;
    EXPECT_EQ(Stored(Game::Starcraft), "1001\0"
                                       "02\0"
                                       "useast.battle.net\0"
                                       "6\0"
                                       "U.S. East\0\0"s);

    const std::string before = UserHive();
    // Names are exact: another case is another name.
    for (const char* name : {"U.S. West", "u.s. east"}) {
        const PorticoProcess::Result missing = Portico({"remove", "--game", "sc", "--name", name});
        EXPECT_EQ(missing.ExitStatus, 2);
        EXPECT_EQ(missing.Errors,
                  "portico: Starcraft/Broodwar has no server named '"s + name + "'.\n");
    }
    EXPECT_EQ(UserHive(), before);
}

struct GameCase {
    const char* Label;
    std::string Game;
    int ExitStatus;
    std::string Errors;
};

class ScriptModeGameTest : public ScriptModeTest, public testing::WithParamInterface<GameCase> {
protected:
    void SetUp() override
    {
        // Diablo II is not installed here.
        prefix.Install(Game::Starcraft);
        prefix.Install(Game::Warcraft);
        prefix.Write();
    }
};

TEST_P(ScriptModeGameTest, NamesOrAliasesInAnyCase)
{
    const PorticoProcess::Result list = Portico({"list", "--game", GetParam().Game});
    EXPECT_EQ(list.ExitStatus, GetParam().ExitStatus);
    const std::string where = "the Wine prefix '" + prefix.Path() + "'";
    std::string errors = GetParam().Errors;
    if (const auto at = errors.find('@'); at != std::string::npos)
        errors.replace(at, 1, where);
    EXPECT_EQ(list.Errors, errors);
}

const std::string kInstalled = "Starcraft/Broodwar (sc), Warcraft III (w3).\n";

INSTANTIATE_TEST_SUITE_P(
    Portico, ScriptModeGameTest,
    testing::Values(
        GameCase{"alias", "sc", 0, ""}, GameCase{"alias_upper_case", "W3", 0, ""},
        GameCase{"name", "Warcraft III", 0, ""},
        GameCase{"name_other_case", "STARCRAFT/broodwar", 0, ""},
        GameCase{"not_installed", "d2", 2,
                 "portico: Diablo is not installed in @. Installed there: " + kInstalled},
        GameCase{"unknown", "Warcraft", 2,
                 "portico: There is no game 'Warcraft'. Installed in @: " + kInstalled}),
    ByLabel());

TEST_F(ScriptModeTest, TextIsStoredInTheCodePageAndListedInUtf8)
{
    ASSERT_EQ(Portico({"add", "--game", "d2", "--name", "Caf\xc3\xa9 \xe2\x82\xac", "--host",
                       "h\xc3\xb4te.example", "--zone",
                       "\xc2\xb1"
                       "1"})
                  .ExitStatus,
              0);
    EXPECT_EQ(Stored(Game::Diablo), "1001\0"
                                    "01\0"
                                    "europe.battle.net\0"
                                    "-1\0"
                                    "Europe\0"
                                    "h\xf4te.example\0"
                                    "\xb1"
                                    "1\0"
                                    "Caf\xe9 \x80\0\0"s);
    EXPECT_THAT(Json("d2"), HasSubstr("{\"name\": \"Caf\xc3\xa9 \xe2\x82\xac\", \"host\": "
                                      "\"h\xc3\xb4te.example\", \"zone\": \"\xc2\xb1"
                                      "1\"}"));
    // The same name, typed the same way, finds the server again.
    EXPECT_EQ(Portico({"remove", "--game", "d2", "--name", "Caf\xc3\xa9 \xe2\x82\xac"}).ExitStatus,
              0);
}

struct OutsideCase {
    const char* Label;
    std::vector<std::string> Arguments;
    std::string Errors;
};

class ScriptModeOutsideTest : public ScriptModeTest,
                              public testing::WithParamInterface<OutsideCase> {};

TEST_P(ScriptModeOutsideTest, ACharacterTheCodePageLacksIsNamedAndNothingIsWritten)
{
    const std::string before = UserHive();
    const PorticoProcess::Result run = Portico(GetParam().Arguments);
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Errors, GetParam().Errors);
    EXPECT_EQ(UserHive(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Portico, ScriptModeOutsideTest,
    testing::Values(
        OutsideCase{"name",
                    {"add", "--game", "sc", "--name",
                     "K\xc5\x91"
                     "b\xc3\xa1nya",
                     "--host", "h", "--zone", "1"},
                    "portico: The server name 'K\xc5\x91"
                    "b\xc3\xa1nya' holds '\xc5\x91' "
                    "(U+0151), which the games' code page (Windows-1252) cannot hold.\n"},
        OutsideCase{"host_beyond_the_basic_plane",
                    {"add", "--game", "sc", "--name", "n", "--host", "\xf0\x9f\x8e\xae.example",
                     "--zone", "1"},
                    "portico: The host name '\xf0\x9f\x8e\xae.example' holds '\xf0\x9f\x8e\xae' "
                    "(U+1F3AE), which the games' code page (Windows-1252) cannot hold.\n"},
        OutsideCase{"zone",
                    {"add", "--game", "sc", "--name", "n", "--host", "h", "--zone",
                     "\xe2\x88\x92"
                     "5"},
                    "portico: The time zone '\xe2\x88\x92"
                    "5' holds '\xe2\x88\x92' (U+2212), which the games' code page "
                    "(Windows-1252) cannot hold.\n"},
        OutsideCase{"removed_name",
                    {"remove", "--game", "sc", "--name",
                     "\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0"},
                    "portico: The server name '\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0' "
                    "holds '\xd0\x9c' (U+041C), which the games' code page (Windows-1252) cannot "
                    "hold.\n"}),
    ByLabel());

struct UsageCase {
    const char* Label;
    std::vector<std::string> Arguments;
    int ExitStatus;
    std::string Errors;
};

class ScriptModeUsageTest : public ScriptModeTest, public testing::WithParamInterface<UsageCase> {};

TEST_P(ScriptModeUsageTest, MistakesAreToldAndNothingIsWritten)
{
    const std::string before = UserHive();
    // The prefix is named ahead of the mistake, so that it is never the one reported.
    std::vector<std::string> arguments = GetParam().Arguments;
    arguments.insert(arguments.begin() + 1, {"--prefix", prefix.Path()});
    const PorticoProcess::Result run = PorticoProcess::Run(work.Path(), arguments);
    EXPECT_EQ(run.ExitStatus, GetParam().ExitStatus);
    EXPECT_THAT(run.Output, IsEmpty());
    EXPECT_EQ(run.Errors, GetParam().Errors);
    EXPECT_EQ(UserHive(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Portico, ScriptModeUsageTest,
    testing::Values(UsageCase{"missing_host",
                              {"add", "--game", "sc", "--name", "n", "--zone", "1"},
                              1,
                              "portico: 'portico add' needs --host.\n"
                              "Try 'portico add --help' for more information.\n"},
                    UsageCase{"empty_host",
                              {"add", "--game", "sc", "--name", "n", "--host", "", "--zone", "1"},
                              1,
                              "portico: The host name is empty.\n"},
                    UsageCase{"empty_name",
                              {"remove", "--game", "sc", "--name", ""},
                              1,
                              "portico: The server name is empty.\n"},
                    UsageCase{"empty_game",
                              {"remove", "--game", "", "--name", "n"},
                              1,
                              "portico: Empty name after '--game'.\n"
                              "Try 'portico remove --help' for more information.\n"},
                    UsageCase{"option_of_another_command",
                              {"list", "--name", "n"},
                              1,
                              "portico: Unknown option 'name'.\n"
                              "Try 'portico list --help' for more information.\n"},
                    UsageCase{"unknown_format",
                              {"list", "--format", "xml"},
                              1,
                              "portico: Unknown format 'xml': text or json.\n"
                              "Try 'portico list --help' for more information.\n"},
                    UsageCase{"file_for_list",
                              {"list", "servers.xml"},
                              1,
                              "portico: Unexpected argument 'servers.xml'.\n"
                              "Try 'portico list --help' for more information.\n"},
                    UsageCase{"two_files",
                              {"export", "a.xml", "b.xml"},
                              1,
                              "portico: Unexpected argument 'b.xml'.\n"
                              "Try 'portico export --help' for more information.\n"},
                    UsageCase{"import_without_file",
                              {"import"},
                              1,
                              "portico: 'portico import' needs the server list file to read.\n"
                              "Try 'portico import --help' for more information.\n"},
                    UsageCase{"import_of_a_missing_file",
                              {"import", "missing.xml"},
                              2,
                              "portico: The file 'missing.xml' does not exist.\n"}),
    ByLabel());

TEST_F(ScriptModeTest, HelpOfACommandNamesItsOptionsAndTheExitStatuses)
{
    const PorticoProcess::Result help = PorticoProcess::Run(work.Path(), {"add", "--help"});
    EXPECT_EQ(help.ExitStatus, 0);
    EXPECT_THAT(help.Output, AllOf(StartsWith("Usage: portico add [options]\n"),
                                   HasSubstr("--replace"), HasSubstr("--zone <n>"),
                                   HasSubstr("  3  Wine is running for the prefix: nothing was "
                                             "written.\n")));
    EXPECT_THAT(help.Errors, IsEmpty());
}

TEST_F(ScriptModeTest, ThePrefixComesFromTheEnvironmentAndMustBeOne)
{
    const PorticoProcess::Result fromEnvironment = PorticoProcess::Run(
        work.Path(), {"list", "--game", "d2"}, {{{"WINEPREFIX", prefix.Path()}}});
    EXPECT_EQ(fromEnvironment.ExitStatus, 0) << fromEnvironment.Errors;
    EXPECT_THAT(fromEnvironment.Output, HasSubstr("europe.battle.net"));

    const std::string absent = (work.Path() / "absent").string();
    for (const auto& arguments :
         {std::vector<std::string>{"list", "--prefix", absent}, std::vector<std::string>{"list"}}) {
        const PorticoProcess::Result run =
            PorticoProcess::Run(work.Path(), arguments, {{{"WINEPREFIX", absent}}});
        EXPECT_EQ(run.ExitStatus, 2);
        EXPECT_EQ(run.Errors, "portico: The Wine prefix '" + absent + "' does not exist.\n");
    }
}

TEST_F(ScriptModeTest, ImportThenExportGivesTheSameLists)
{
    const std::string file = kFixtures + "/servers.xml";
    const PorticoProcess::Result imported = Portico({"import", file});
    ASSERT_EQ(imported.ExitStatus, 0) << imported.Errors;
    EXPECT_THAT(imported.Errors, IsEmpty());
    // The file names Starcraft and Warcraft III; Diablo keeps its list.
    EXPECT_EQ(Stored(Game::Diablo), "1001\0"
                                    "01\0"
                                    "europe.battle.net\0"
                                    "-1\0"
                                    "Europe\0\0"s);
    EXPECT_EQ(Json("sc"),
              "[\n"
              "  {\"game\": \"Starcraft/Broodwar\", \"alias\": \"sc\", \"servers\": [\n"
              "    {\"name\": \"Z\xc3\xbcrich & \\\"Friends\\\"\", \"host\": \"zh.example\", "
              "\"zone\": \"-1\"},\n"
              "    {\"name\": \"<Lobby of 2\", \"host\": \"lobby.example\", \"zone\": \"3\"},\n"
              "    {\"name\": \" spaced \", \"host\": \" padded.example \", \"zone\": \"8\"},\n"
              "    {\"name\": \"\\u0004Gold\\u0007 Realm \xe2\x82\xac\", \"host\": "
              "\"192.0.2.7:6112\", \"zone\": \"a&amp;b>\"}\n"
              "  ]}\n"
              "]\n");
    EXPECT_THAT(Json("w3"), HasSubstr("{\"name\": \"Two\\nLines\", \"host\": \"w3.example\""));

    // An empty list goes through as well.
    ASSERT_EQ(Portico({"remove", "--game", "d2", "--name", "Europe"}).ExitStatus, 0);
    const fs::path exported = work.Path() / "exported.xml";
    ASSERT_EQ(Portico({"export", exported.string()}).ExitStatus, 0);
    const PorticoProcess::Result toOutput = Portico({"export"});
    EXPECT_EQ(toOutput.Output, ReadFile(exported));

    // Into another prefix whose lists differ, then out again: the same lists, the same file.
    TempWinePrefix other;
    for (Game game : {Game::Starcraft, Game::Diablo, Game::Warcraft}) {
        other.Install(game);
        other.SetGateways(game, {{"elsewhere.example", "0", "Elsewhere"}});
    }
    other.Write();
    ASSERT_EQ(
        PorticoProcess::Run(work.Path(), {"import", exported.string(), "--prefix", other.Path()})
            .ExitStatus,
        0);
    const auto listOf = [&](const std::string& where) {
        return PorticoProcess::Run(work.Path(), {"list", "--format", "json", "--prefix", where})
            .Output;
    };
    EXPECT_EQ(listOf(other.Path()), listOf(prefix.Path()));
    EXPECT_EQ(PorticoProcess::Run(work.Path(), {"export", "--prefix", other.Path()}).Output,
              ReadFile(exported));
}

TEST_F(ScriptModeTest, ImportLeavesOutGamesThatAreNotThereAndRefusesServersWithoutHost)
{
    const fs::path file = work.Write("partial.xml", "<Games>\n"
                                                    "<Game Name=\"warcraft iii\">\n"
                                                    "<Server Name=\"a\">\n"
                                                    "<Hostname>a.example</Hostname>\n"
                                                    "</Server>\n"
                                                    "</Game>\n"
                                                    "<Game Name=\"Diablo\">\n"
                                                    "<Server Name=\"b\">\n"
                                                    "<Hostname>b.example</Hostname>\n"
                                                    "<TimeZone>2</TimeZone>\n"
                                                    "</Server>\n"
                                                    "</Game>\n"
                                                    "</Games>\n");
    const PorticoProcess::Result imported = Portico({"import", file.string()});
    EXPECT_EQ(imported.ExitStatus, 0);
    EXPECT_EQ(imported.Errors, "portico: warning: the file names a game that Portico does not "
                               "know, 'warcraft iii'; its servers are left out.\n");
    EXPECT_EQ(Stored(Game::Diablo), "1001\0"
                                    "01\0"
                                    "b.example\0"
                                    "2\0"
                                    "b\0\0"s);
    EXPECT_EQ(Stored(Game::Warcraft), "<none>");

    const std::string before = UserHive();
    const fs::path noHost = work.Write("no-host.xml", "<Games>\n"
                                                      "<Game Name=\"Starcraft/Broodwar\">\n"
                                                      "<Server Name=\"fine\">\n"
                                                      "<Hostname>fine.example</Hostname>\n"
                                                      "</Server>\n"
                                                      "</Game>\n"
                                                      "<Game Name=\"Diablo\">\n"
                                                      "<Server Name=\"hostless\">\n"
                                                      "<TimeZone>1</TimeZone>\n"
                                                      "</Server>\n"
                                                      "</Game>\n"
                                                      "</Games>\n");
    const PorticoProcess::Result refused = Portico({"import", noHost.string()});
    EXPECT_EQ(refused.ExitStatus, 1);
    EXPECT_EQ(refused.Errors, "portico: The file '" + noHost.string() +
                                  "' cannot be imported: Diablo: The server \"hostless\" has no "
                                  "host name. A server without one would end the list and lose "
                                  "every server after it. Nothing was imported.\n");
    EXPECT_EQ(UserHive(), before);
}

struct ExportCase {
    const char* Label;
    TempWinePrefix::Gateway Server;
    std::string Reason;
};

class ScriptModeExportTest : public ScriptModeTest, public testing::WithParamInterface<ExportCase> {
protected:
    void SetUp() override
    {
        prefix.Install(Game::Warcraft);
        prefix.SetGateways(Game::Warcraft, {{"first.example", "1", "First"}, GetParam().Server});
        prefix.Write();
    }
};

TEST_P(ScriptModeExportTest, AServerTheFileCannotCarryStopsTheExport)
{
    const fs::path file = work.Path() / "out.xml";
    const PorticoProcess::Result run = Portico({"export", file.string()});
    EXPECT_EQ(run.ExitStatus, 4);
    EXPECT_EQ(run.Errors, "portico: " + GetParam().Reason + " Nothing was exported.\n");
    EXPECT_FALSE(fs::exists(file));
}

INSTANTIATE_TEST_SUITE_P(
    Portico, ScriptModeExportTest,
    testing::Values(
        ExportCase{"closing_bracket_in_name",
                   {"h.example", "1", "<Best>"},
                   "The server '<Best>' of Warcraft III cannot be written to a server list "
                   "file: its name holds '>', which ends the tag it stands in."},
        ExportCase{"opening_bracket_in_host",
                   {"h<1>.example", "1", "Second"},
                   "The server 'Second' of Warcraft III cannot be written to a server list "
                   "file: its host name holds '<', which ends the tag it stands in."},
        ExportCase{"opening_bracket_in_zone",
                   {"h.example", "<1", "Second"},
                   "The server 'Second' of Warcraft III cannot be written to a server list "
                   "file: its time zone holds '<', which ends the tag it stands in."},
        ExportCase{"carriage_return_before_line_break",
                   {"h.example", "1", "Two\r\nLines"},
                   "The server 'Two\\x0D\\x0ALines' of Warcraft III cannot be written to a server "
                   "list file: its name holds a carriage return before a line break, which the "
                   "import reads as a line break alone."},
        ExportCase{"same_name_twice",
                   {"other.example", "2", "First"},
                   "The server 'First' of Warcraft III is in the list twice; the import would "
                   "merge the two into the first."}),
    ByLabel());

TEST_F(ScriptModeTest, NothingIsWrittenWhileWineRuns)
{
    // A server of the prefix as Debian's Wine places it: in the folder the prefix names.
    const fs::path tmp = work.Path() / "tmp";
    fs::create_directories(tmp);
    std::ofstream(fs::path(prefix.Path()) / "wineserver") << "wine-PorticoCli\n";
    FakeWineServer server(tmp / "wine-PorticoCli" / FakeWineServer::FolderName(prefix.Path()));
    ASSERT_TRUE(server.Running());
    const PorticoProcess::Options options{{{"TMPDIR", tmp.string()}}};

    const std::string before = UserHive();
    const fs::path file = kFixtures + "/servers.xml";
    for (const auto& [arguments, game] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"add", "--game", "sc", "--name", "n", "--host", "h", "--zone", "1"},
              "Starcraft/Broodwar"},
             {{"remove", "--game", "d2", "--name", "Europe"}, "Diablo"},
             {{"import", file.string()}, "Starcraft/Broodwar"}}) {
        const PorticoProcess::Result run = Portico(arguments, options);
        EXPECT_EQ(run.ExitStatus, 3) << arguments[0];
        EXPECT_EQ(run.Errors, "portico: " + game + " was not saved: " + kWineAdvice + "\n");
    }
    EXPECT_EQ(UserHive(), before);
    EXPECT_EQ(Portico({"list", "--game", "d2"}, options).ExitStatus, 0);

    server.Stop();
    EXPECT_EQ(Portico({"add", "--game", "sc", "--name", "n", "--host", "h", "--zone", "1"}, options)
                  .ExitStatus,
              0);
}

TEST_F(ScriptModeTest, AHiveTheUserCannotWriteFailsTheSave)
{
    // Read-only for everyone; root ignores that, so the program runs as an ordinary user then.
    const fs::path folder = prefix.Path();
    for (const char* name : {"user.reg", "system.reg"})
        fs::permissions(folder / name,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    PorticoProcess::Options options;
    options.AsNobody = geteuid() == 0;
    const std::string before = UserHive();

    const PorticoProcess::Result add =
        Portico({"add", "--game", "sc", "--name", "n", "--host", "h", "--zone", "1"}, options);
    EXPECT_EQ(add.ExitStatus, 4);
    EXPECT_EQ(add.Errors, "portico: Starcraft/Broodwar was not saved: Access is denied.\n");
    EXPECT_EQ(UserHive(), before);
    // Reading needs no more than the files allow.
    EXPECT_EQ(Portico({"list"}, options).ExitStatus, 0);

    const PorticoProcess::Result exported =
        Portico({"export", (folder / "out.xml").string()}, options);
    EXPECT_EQ(exported.ExitStatus, 4);
    EXPECT_EQ(exported.Errors, "portico: The file '" + (folder / "out.xml").string() +
                                   "' could not be written: Permission denied.\n");
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
}
} // namespace
