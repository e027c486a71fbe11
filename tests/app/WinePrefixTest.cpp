#include "../platform/FakeWineServer.h"
#include "FakeHome.h"
#include "PorticoFixture.h"

#include "app/CMainFrame.h"
#include "app/CPorticoApp.h"
#include "app/CPrefixChooserDlg.h"
#include "app/Resource.h"
#include "doc/CPorticoView.h"
#include "doc/ServerListModel.h"
#include "doc/ServerListModels.h"
#include "platform/WineRegistry.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gmock/gmock.h>

#include <chrono>
#include <functional>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
// Waits for the condition, handling events, for five seconds at most.
bool WaitFor(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QTest::qWait(10);
    }
    return true;
}

CPrefixChooserDlg* OpenChooser()
{
    return qobject_cast<CPrefixChooserDlg*>(QApplication::activeModalWidget());
}

template <typename T> T& Child(const QWidget& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::logic_error(std::string("no ") + name);
    return *child;
}

// The rows of the chooser as "games | launcher | folder".
std::vector<std::string> ChooserRows(const CPrefixChooserDlg& dialog)
{
    const auto& list = Child<QTreeWidget>(dialog, "prefixList");
    std::vector<std::string> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list.topLevelItem(i);
        rows.push_back(
            (item->text(0) + " | " + item->text(1) + " | " + item->text(2)).toStdString());
    }
    return rows;
}

// Runs drive on the chooser once it is open and its search has ended; a chooser still open
// afterwards is cancelled, so that a failing test never hangs.
void WhenChooserOpens(const std::function<void(CPrefixChooserDlg&)>& drive)
{
    QTimer::singleShot(0, [drive] {
        CPrefixChooserDlg* dialog = nullptr;
        ASSERT_TRUE(WaitFor([&dialog] { return (dialog = OpenChooser()) != nullptr; }));
        ASSERT_TRUE(WaitFor([dialog] {
            return !Child<QLabel>(*dialog, "searchStatus").text().contains("Searching");
        }));
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void Choose(CPrefixChooserDlg& dialog, int row)
{
    auto& list = Child<QTreeWidget>(dialog, "prefixList");
    list.setCurrentItem(list.topLevelItem(row));
    QTest::mouseClick(&Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
}
} // namespace

// The player's home with prefixes of its own; the fixture's prefix is where the games are.
class WinePrefixTest : public PorticoFixture {
protected:
    void SetUp() override
    {
        PorticoFixture::SetUp();
        home = fakeHome.Path().string();
    }

    std::string Canonical(const std::string& path) const { return fs::canonical(path).string(); }
    QString PaneTip() const { return Child<QLabel>(Frame(), "prefixPane").toolTip(); }
    std::vector<std::string> ButtonNames() const
    {
        std::vector<std::string> names;
        for (const QToolButton* button : GameButtons())
            names.push_back(button->text().toStdString());
        return names;
    }
    std::string Remembered() const
    {
        return Settings()->value("wine/lastPrefix").toByteArray().toStdString();
    }

    FakeHome fakeHome;
};

TEST_F(WinePrefixTest, AtStartTheChooserOpensWhenOnlyAnotherPrefixHoldsAGame)
{
    // ~/.wine is in effect and empty; Lutris made the prefix with Diablo II.
    winePrefixVariable.reset();
    fakeHome.Prefix(".wine");
    fakeHome.Prefix("Games/empty");
    prefix.Install(Game::Diablo);
    prefix.SetGateways(Game::Diablo, SampleGateways(Game::Diablo));
    const std::string diablo = fakeHome.Prefix("Games/diablo-ii");
    prefix.WriteTo(diablo);

    std::vector<std::string> rows;
    WhenChooserOpens([&rows](CPrefixChooserDlg& dialog) {
        rows = ChooserRows(dialog);
        // The prefix with a game is the one offered.
        QTest::mouseClick(&Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    });
    ASSERT_TRUE(Start());

    EXPECT_THAT(rows, ElementsAre("Diablo | Lutris | ~/Games/diablo-ii",
                                  "no game | Wine (in use) | ~/.wine",
                                  "no game | Lutris | ~/Games/empty"));
    EXPECT_EQ(App().prefixPath(), Canonical(diablo));
    EXPECT_EQ(PaneTip(), QString::fromStdString(Canonical(diablo)));
    EXPECT_EQ(Child<QLabel>(Frame(), "prefixPane").text(),
              QStringLiteral("Wine prefix: ~/Games/diablo-ii"));
    EXPECT_THAT(ButtonNames(), ElementsAre("Diablo"));
    EXPECT_EQ(App().m_selection.index(), 1);
    EXPECT_EQ(Rows(), Memory());
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_THAT(MessageTexts(), IsEmpty());
    EXPECT_EQ(Remembered(), Canonical(diablo));
}

TEST_F(WinePrefixTest, AtStartACancelledChooserOrNoGameAnywhereEndsWithTheMessage)
{
    winePrefixVariable.reset();
    fakeHome.Prefix(".wine");
    fakeHome.Prefix(".local/share/bottles/bottles/Empty");
    EXPECT_FALSE(Start());
    EXPECT_THAT(MessageTexts(), ElementsAre(kNoGameInstalled));
    EXPECT_EQ(App().mainFrame(), nullptr);

    presenter.Messages.clear();
    prefix.Install(Game::Warcraft);
    prefix.WriteTo(fakeHome.Prefix(".cxoffice/Warcraft"));
    bool opened = false;
    WhenChooserOpens([&opened](CPrefixChooserDlg& dialog) {
        opened = true;
        QTest::mouseClick(&Child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    });
    app->ExitInstance(0);
    EXPECT_FALSE(Start());
    EXPECT_TRUE(opened);
    EXPECT_THAT(MessageTexts(), ElementsAre(kNoGameInstalled));
    EXPECT_EQ(Remembered(), "");
}

struct InEffectCase {
    const char* Label;
    bool CommandLine;
    bool Variable;
    // "valid", "gone" (no longer a prefix) or "" (none kept).
    const char* LastUsed;
    const char* Expected;
};

void PrintTo(const InEffectCase& c, std::ostream* os)
{
    *os << c.Label;
}

class PrefixInEffectTest : public ::testing::TestWithParam<InEffectCase> {};

TEST_P(PrefixInEffectTest, CommandLineThenVariableThenLastUsedThenDotWine)
{
    const InEffectCase& c = GetParam();
    FakeHome home;
    const std::string last = home.Prefix("last");
    QSettings settings(QString::fromStdString(home.At("portico.conf")), QSettings::IniFormat);
    const std::string kept = std::string(c.LastUsed) == "gone" ? home.At("gone") : last;
    WinePrefixes prefixes(c.CommandLine ? std::optional<std::string>("/from/command/line")
                                        : std::nullopt,
                          c.Variable ? std::optional<std::string>("/from/variable") : std::nullopt,
                          home.Path().string(), settings, nullptr);
    if (*c.LastUsed != '\0')
        prefixes.Remember(kept);
    std::string expected = c.Expected;
    if (expected.front() == '~')
        expected = home.Path().string() + expected.substr(1);
    EXPECT_EQ(prefixes.InEffect(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Order, PrefixInEffectTest,
    ::testing::Values(InEffectCase{"All", true, true, "valid", "/from/command/line"},
                      InEffectCase{"VariableOverLastUsed", false, true, "valid", "/from/variable"},
                      InEffectCase{"LastUsed", false, false, "valid", "~/last"},
                      InEffectCase{"LastUsedGone", false, false, "gone", "~/.wine"},
                      InEffectCase{"Nothing", false, false, "", "~/.wine"}),
    [](const ::testing::TestParamInfo<InEffectCase>& info) { return info.param.Label; });

// A second prefix, with Warcraft III, that Bottles reaches through a symbolic link.
class SwitchTest : public WinePrefixTest {
protected:
    void SetUp() override
    {
        WinePrefixTest::SetUp();
        other.Install(Game::Warcraft);
        other.SetGateways(Game::Warcraft, SampleGateways(Game::Warcraft));
        other.Write();
        fakeHome.Link(".local/share/bottles/bottles/Warcraft", other.Path());
        ASSERT_TRUE(StartWith({Game::Starcraft}));
    }

    void ExpectOnOther()
    {
        EXPECT_EQ(App().prefixPath(), Canonical(other.Path()));
        EXPECT_EQ(PaneTip(), QString::fromStdString(Canonical(other.Path())));
        EXPECT_THAT(ButtonNames(), ElementsAre("Warcraft III"));
        EXPECT_EQ(App().m_selection.index(), 2);
        EXPECT_EQ(Rows(), Memory());
        EXPECT_EQ(Rows().size(), 3u);
        // Nothing of the first prefix's lists stays in memory.
        EXPECT_EQ(App().m_catalog[0].Servers.Size(), 0u);
        EXPECT_FALSE(App().m_models.isModified());
        EXPECT_EQ(Remembered(), Canonical(other.Path()));
    }

    void Edit() { View().OnClearAll(); }

    TempWinePrefix other;
};

TEST_F(SwitchTest, FileWinePrefixListsThePrefixesAndReloadsEverythingFromTheOneChosen)
{
    EXPECT_TRUE(Command("ID_FILE_WINE_PREFIX").isEnabled());
    EXPECT_EQ(PaneTip(), QString::fromStdString(prefix.Path()));
    std::vector<std::string> rows;
    WhenChooserOpens([&rows](CPrefixChooserDlg& dialog) {
        rows = ChooserRows(dialog);
        EXPECT_EQ(Child<QLabel>(dialog, "searchStatus").text(),
                  QStringLiteral("2 prefixes found, 2 with a game."));
        Choose(dialog, 1);
    });
    Command("ID_FILE_WINE_PREFIX").trigger();

    EXPECT_THAT(rows, ElementsAre("Starcraft/Broodwar | WINEPREFIX (in use) | " + prefix.Path(),
                                  "Warcraft III | Bottles | " + Canonical(other.Path())));
    ExpectOnOther();
    EXPECT_THAT(presenter.Questions, IsEmpty());
    EXPECT_THAT(MessageTexts(), IsEmpty());
}

TEST_F(SwitchTest, BrowseRefusesAFolderWithoutRegistryFilesAndTakesAPrefix)
{
    TempDir notPrefix;
    notPrefix.Write("user.reg", "WINE REGISTRY Version 2\n");
    WhenChooserOpens([this, &notPrefix](CPrefixChooserDlg& dialog) {
        picker.FolderAnswer = QString::fromStdString(notPrefix.Path().string());
        QTest::mouseClick(&Child<QPushButton>(dialog, "browseButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        picker.FolderAnswer = QString::fromStdString(other.Path());
        QTest::mouseClick(&Child<QPushButton>(dialog, "browseButton"), Qt::LeftButton);
    });
    Command("ID_FILE_WINE_PREFIX").trigger();

    EXPECT_EQ(picker.FolderCalls, 2);
    EXPECT_THAT(MessageTexts(),
                ElementsAre("'" + notPrefix.Path().string() +
                            "' is not a Wine prefix: a Wine prefix is a folder that holds both "
                            "system.reg and user.reg."));
    EXPECT_EQ(presenter.Messages[0].Icon, MessageIcon::Error);
    ExpectOnOther();
}

struct UnsavedCase {
    const char* Label;
    SaveChoice Answer;
    bool Switched;
    // What the first prefix holds afterwards: the edit saved, or its list as it was.
    bool Saved;
};

void PrintTo(const UnsavedCase& c, std::ostream* os)
{
    *os << c.Label;
}

class UnsavedEditsTest : public SwitchTest, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedEditsTest, AreSavedDiscardedOrKeptAsTheUserAnswers)
{
    const UnsavedCase& c = GetParam();
    const auto before = ListsInPrefix();
    Edit();
    ASSERT_TRUE(App().m_models.isModified());
    presenter.Answers = {c.Answer};

    EXPECT_EQ(App().SwitchPrefix(Canonical(other.Path())), c.Switched);

    EXPECT_EQ(presenter.Questions.size(), 1u);
    EXPECT_EQ(ListsInPrefix()[0].empty(), c.Saved);
    if (!c.Saved) {
        EXPECT_EQ(ListsInPrefix(), before);
    }
    if (c.Switched) {
        ExpectOnOther();
    } else {
        EXPECT_EQ(App().prefixPath(), prefix.Path());
        EXPECT_TRUE(Rows().empty());
        EXPECT_TRUE(App().m_models.isModified());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, UnsavedEditsTest,
                         ::testing::Values(UnsavedCase{"Save", SaveChoice::Save, true, true},
                                           UnsavedCase{"Discard", SaveChoice::Discard, true, false},
                                           UnsavedCase{"Cancel", SaveChoice::Cancel, false, false}),
                         [](const ::testing::TestParamInfo<UnsavedCase>& info) {
                             return info.param.Label;
                         });

TEST_F(SwitchTest, ASaveThatFailsKeepsThePrefixAndTheEdits)
{
    Edit();
    presenter.Answers = {SaveChoice::Save};
    FakeWineServer server(fakeHome.Path() / "server-tmp" /
                          FakeWineServer::FolderName(prefix.Path()));
    ASSERT_TRUE(server.Running());
    EXPECT_FALSE(App().SwitchPrefix(Canonical(other.Path())));
    EXPECT_EQ(App().prefixPath(), prefix.Path());
    EXPECT_TRUE(App().m_models.isModified());
}

TEST_F(SwitchTest, ASaveWhileWineRunsSaysSoOnceAndWritesNothing)
{
    StartWith({Game::Starcraft, Game::Diablo, Game::Warcraft});
    const auto before = ListsInPrefix();
    Edit();
    FakeWineServer server(fakeHome.Path() / "server-tmp" /
                          FakeWineServer::FolderName(prefix.Path()));
    ASSERT_TRUE(server.Running());

    Command("ID_FILE_SAVE_REGISTRY").trigger();

    ASSERT_EQ(presenter.Messages.size(), 1u);
    EXPECT_EQ(presenter.Messages[0].Text,
              "Wine is running for this prefix and would overwrite the change: close the games, "
              "or run `wineserver -k`, then save again.\nNo server list was saved.");
    EXPECT_EQ(presenter.Messages[0].Icon, MessageIcon::Error);
    EXPECT_EQ(ListsInPrefix(), before);
    EXPECT_TRUE(App().m_models.isModified());

    server.Stop();
    Command("ID_FILE_SAVE_REGISTRY").trigger();
    EXPECT_FALSE(App().m_models.isModified());
    EXPECT_TRUE(ListsInPrefix()[0].empty());
}

TEST_F(SwitchTest, EditsMarkTheListsModifiedUntilTheyAreReloadedOrSaved)
{
    ServerListModel& list = App().m_models.forGame(0);
    EXPECT_FALSE(App().m_models.isModified());
    list.addServer("New", "1", "new.test");
    EXPECT_TRUE(App().m_models.isModified());
    Command("ID_FILE_RELOAD").trigger();
    EXPECT_FALSE(App().m_models.isModified());
    list.setServer(0, "Renamed", "renamed.test", "2");
    EXPECT_TRUE(App().m_models.isModified());
    Command("ID_FILE_SAVE_REGISTRY").trigger();
    EXPECT_FALSE(App().m_models.isModified());
    list.removeServer(0);
    EXPECT_TRUE(App().m_models.isModified());
    App().m_models.setModified(false);
    // Measured times are no edit.
    emit list.dataChanged(list.index(0, ServerListModel::ColumnPing),
                          list.index(0, ServerListModel::ColumnStatus));
    EXPECT_FALSE(App().m_models.isModified());
}

TEST_F(WinePrefixTest, WithOneFixedRegistryThereIsNoPrefixToChoose)
{
    prefix.Install(Game::Starcraft);
    prefix.Write();
    WineRegistry wine(prefix.Path());
    app = std::make_unique<CPorticoApp>(wine, sockets, seams);
    ASSERT_TRUE(app->InitInstance());
    Frame().updateCommandUi();
    EXPECT_FALSE(Command("ID_FILE_WINE_PREFIX").isEnabled());
    EXPECT_TRUE(Child<QLabel>(Frame(), "prefixPane").isHidden());
    EXPECT_EQ(App().prefixPath(), "");
    app->ExitInstance(0);
    app.reset();
}
