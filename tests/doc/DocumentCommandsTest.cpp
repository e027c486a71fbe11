#include "PorticoFixture.h"
#include "ScriptedServerDialog.h"

#include "app/CPorticoApp.h"
#include "doc/CPorticoView.h"

#include <QApplication>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <optional>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {
constexpr char kLoaded[] = "Settings successfully loaded from registry.\nPress OK to continue";
constexpr char kSaved[] = "Settings successfully saved to registry.\nPress OK to continue";
constexpr char kImportFailed[] = "Error while importing Server List";

std::vector<std::string> NamesInMemory(const CPorticoApp& app)
{
    std::vector<std::string> names;
    for (const ServerInfo& server : app.m_selection.game()->Servers)
        names.push_back(server.Name + "|" + server.Hostname + "|" + server.TimeZone);
    return names;
}

std::vector<MessageIcon> Icons(const RecordingPresenter& presenter)
{
    std::vector<MessageIcon> icons;
    for (const auto& message : presenter.Messages)
        icons.push_back(message.Icon);
    return icons;
}
} // namespace

using DocumentCommandsTest = PorticoFixture;

TEST_F(DocumentCommandsTest, ReloadReplacesMemoryWithTheRegistryUnderTheWaitCursor)
{
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Warcraft}));
    App().m_selection.game()->Servers.Clear();
    prefix.SetGateways(Game::Starcraft, {{"changed.test", "3", "Changed Outside"}});
    prefix.Write();
    registry->OpenedWithWaitCursor = registry->OpenedWithoutWaitCursor = 0;

    Command("ID_FILE_RELOAD").trigger();

    EXPECT_THAT(NamesInMemory(App()), ElementsAre("Changed Outside|changed.test|3"));
    EXPECT_EQ(Rows(), Memory());
    EXPECT_EQ(App().m_catalog[2].Servers.Size(), 3u);
    EXPECT_THAT(MessageTexts(), ElementsAre(kLoaded));
    EXPECT_THAT(Icons(presenter), ElementsAre(MessageIcon::Warning));
    EXPECT_GT(registry->OpenedWithWaitCursor, 0);
    EXPECT_EQ(registry->OpenedWithoutWaitCursor, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DocumentCommandsTest, AReloadThatStopsAtAGameSaysWhereAndWhy)
{
    // Starcraft is installed but its list's key is missing: the reload stops there.
    prefix.Install(Game::Starcraft);
    ASSERT_TRUE(StartWith({Game::Warcraft}));
    App().m_selection.game()->Servers.Clear();

    Command("ID_FILE_RELOAD").trigger();

    EXPECT_THAT(MessageTexts(),
                ElementsAre("Reloading from registry stopped at Starcraft/Broodwar:\nThe system "
                            "cannot find the file specified.\nThe server lists of the games "
                            "after it were not reloaded."));
    EXPECT_THAT(Icons(presenter), ElementsAre(MessageIcon::Error));
    // Warcraft III comes after it: memory keeps what it held, and the view shows memory.
    EXPECT_TRUE(NamesInMemory(App()).empty());
    EXPECT_EQ(Rows(), Memory());
}

TEST_F(DocumentCommandsTest, AReloadPassesGamesThatAreNotInstalled)
{
    // Warcraft III is not installed and has no key: its list stays empty, without a word.
    ASSERT_TRUE(StartWith({Game::Starcraft}));
    App().m_selection.game()->Servers.Clear();

    Command("ID_FILE_RELOAD").trigger();

    EXPECT_THAT(MessageTexts(), ElementsAre(kLoaded));
    EXPECT_EQ(NamesInMemory(App()).size(), 3u);
    EXPECT_TRUE(App().m_catalog[2].Servers.Empty());
}

TEST_F(DocumentCommandsTest, SaveWritesTheInstalledGamesListsToThePrefix)
{
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Warcraft}));
    dialog.Answers = {{"Gen\xe8ve \x80 Hall", "geneve.test", "1"}};
    Command("ID_SERVER_ADD").trigger();
    App().m_catalog[2].Servers.RemoveByName("Northern Hall");
    registry->OpenedWithWaitCursor = registry->OpenedWithoutWaitCursor = 0;

    Command("ID_FILE_SAVE_REGISTRY").trigger();

    EXPECT_THAT(MessageTexts(), ElementsAre(kSaved));
    EXPECT_THAT(Icons(presenter), ElementsAre(MessageIcon::Warning));
    EXPECT_GT(registry->OpenedWithWaitCursor, 0);
    EXPECT_EQ(registry->OpenedWithoutWaitCursor, 0);

    const auto lists = ListsInPrefix();
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_THAT(lists[0],
                ElementsAre("Pacific Ladder|sc-west.test|-8", "Atlantic Ladder|sc-east.test|-5",
                            "Z\xfcrich Caf\xe9|198.51.100.23|1",
                            "Gen\xe8ve \x80 Hall|geneve.test|1"));
    EXPECT_THAT(lists[2], ElementsAre("S\xe3o Paulo Arena|w3-south.test|-3",
                                      "\x80uro Guild|198.51.100.99|2"));
    // Diablo II is not installed: its value is not written.
    EXPECT_THAT(prefix.ReadFile("user.reg"), Not(HasSubstr("Diablo II Battle.net gateways")));
}

TEST_F(DocumentCommandsTest, ASaveThatFailsForAGameSaysWhichAndConfirmsOnlyTheOthers)
{
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Warcraft}));
    // A server without a host name cannot be stored in a gateway list.
    App().m_catalog[2].Servers.AddServer("No Host", "1", "");
    const std::string warcraftBefore = ListsInPrefix()[2].front();

    Command("ID_FILE_SAVE_REGISTRY").trigger();

    ASSERT_EQ(presenter.Messages.size(), 2u);
    EXPECT_THAT(presenter.Messages[0].Text,
                StartsWith("These server lists were not saved to registry:\nWarcraft III: "));
    EXPECT_THAT(presenter.Messages[0].Text, HasSubstr("No Host"));
    EXPECT_EQ(presenter.Messages[1].Text,
              "Settings of Starcraft/Broodwar successfully saved to registry.\nPress OK to "
              "continue");
    EXPECT_THAT(Icons(presenter), ElementsAre(MessageIcon::Error, MessageIcon::Warning));
    EXPECT_EQ(ListsInPrefix()[2].front(), warcraftBefore);
}

struct ImportCase {
    const char* Label;
    // No content: the file does not exist.
    std::optional<std::string> Content;
    std::vector<std::string> ExpectedMessages;
    // The selected game's list afterwards; none: as before the import.
    std::optional<std::vector<std::string>> ExpectedList;
};

void PrintTo(const ImportCase& import, std::ostream* os)
{
    *os << import.Label;
}

class ImportTest : public PorticoFixture, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(ImportTest, ImportShowsWhatMemoryHoldsAfterwards)
{
    const ImportCase& import = GetParam();
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Warcraft}));
    const std::filesystem::path file = std::filesystem::path(prefix.Path()) / "servers.xml";
    if (import.Content)
        std::ofstream(file, std::ios::binary) << *import.Content;
    picker.Answer = QString::fromStdString(file.string());
    const std::vector<std::string> expected = import.ExpectedList.value_or(NamesInMemory(App()));

    Command("ID_FILE_IMPORT").trigger();

    EXPECT_EQ(picker.Title, QStringLiteral("Import Battle Net Server List"));
    EXPECT_EQ(picker.NameFilters, QStringList({QStringLiteral("Battle Net Server List (*.xml)"),
                                               QStringLiteral("All Files (*)")}));
    EXPECT_EQ(picker.DefaultSuffix, QStringLiteral("xml"));
    ASSERT_EQ(presenter.Messages.size(), import.ExpectedMessages.size());
    for (std::size_t i = 0; i < import.ExpectedMessages.size(); ++i)
        EXPECT_THAT(presenter.Messages[i].Text, StartsWith(import.ExpectedMessages[i]));
    if (!import.ExpectedMessages.empty()) {
        EXPECT_EQ(presenter.Messages.back().Icon, MessageIcon::Error);
    }
    EXPECT_EQ(NamesInMemory(App()), expected);
    EXPECT_EQ(Rows(), Memory());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportTest,
    ::testing::Values(
        ImportCase{
            "ServerListFile",
            "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Games>\r\n"
            "<Game Name=\"Starcraft/Broodwar\">\r\n<Server Name=\"Imported \xc9lite\">\r\n"
            "<Hostname>imported.test</Hostname>\r\n<TimeZone>-1</TimeZone>\r\n"
            "</Server>\r\n<Server Name=\"Second\">\r\n<Hostname>second.test</Hostname>\r\n"
            "<TimeZone>4</TimeZone>\r\n</Server>\r\n</Game>\r\n</Games>\r\n",
            {},
            std::vector<std::string>{"Imported \xc9lite|imported.test|-1", "Second|second.test|4"}},
        ImportCase{"MissingFile",
                   std::nullopt,
                   {"Failed to open configuration file", kImportFailed},
                   std::nullopt},
        ImportCase{"EmptyFile", "", {"Exception class: ", kImportFailed}, std::nullopt},
        ImportCase{
            "WhiteSpaceOnly", " \r\n\t\n", {"Exception class: ", kImportFailed}, std::nullopt},
        // A server without its closing tag: what was read before it is imported, without a
        // word.
        ImportCase{"MalformedXml",
                   "<Games>\n<Game Name=\"Starcraft/Broodwar\">\n<Server Name=\"Kept\">\n"
                   "<Hostname>kept.test</Hostname>\n<TimeZone>2</TimeZone>\n</Server>\n"
                   "<Server Name=\"Cut\">\n<Hostname>cut.test</Hostname>\n</Game>\n"
                   "</Games>\n",
                   {},
                   std::vector<std::string>{"Kept|kept.test|2"}}),
    [](const ::testing::TestParamInfo<ImportCase>& info) { return info.param.Label; });

TEST_F(DocumentCommandsTest, ImportCancelledChangesNothing)
{
    ASSERT_TRUE(StartWith({Game::Starcraft}));
    const std::vector<Row> before = Memory();

    Command("ID_FILE_IMPORT").trigger();

    EXPECT_EQ(picker.Calls, 1);
    EXPECT_TRUE(presenter.Messages.empty());
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(Rows(), before);
}
