#include "PorticoFixture.h"

#include "app/CMainFrame.h"
#include "app/CPorticoApp.h"
#include "app/Resource.h"
#include "dialogs/CPorticoEditServerDlg.h"
#include "doc/CPorticoView.h"
#include "doc/ServerListModel.h"
#include "doc/ServerListModels.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {
struct GameButton {
    const char* Name;
    int CommandId;
    const char* ToolTip;
};
const GameButton kStarcraft{"Starcraft/Broodwar", 32818, "Starcraft/Broodwar"};
const GameButton kDiablo{"Diablo", 32819, "Diablo II"};
const GameButton kWarcraft{"Warcraft III", 32820, "Warcraft 3"};

struct StartCase {
    const char* Label;
    std::vector<TempWinePrefix::Game> Installed;
    std::vector<GameButton> Buttons;
    int SelectedGame;
    const char* Caption;
};

void PrintTo(const StartCase& start, std::ostream* os)
{
    *os << start.Label;
}

QStringList MenuLayout(const QMenu& menu)
{
    QStringList items;
    for (const QAction* action : menu.actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}
} // namespace

class StartUpTest : public PorticoFixture, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartUpTest, OneButtonPerInstalledGameAndTheFirstSelected)
{
    const StartCase& start = GetParam();
    for (Game game : start.Installed) {
        prefix.Install(game);
        prefix.SetGateways(game, SampleGateways(game));
    }
    ASSERT_TRUE(Start());

    const std::vector<QToolButton*> buttons = GameButtons();
    ASSERT_EQ(buttons.size(), start.Buttons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(start.Buttons[i].Name);
        QAction* action = buttons[i]->defaultAction();
        EXPECT_EQ(buttons[i]->text(), QString::fromLatin1(start.Buttons[i].Name));
        EXPECT_EQ(action->data().toInt(), start.Buttons[i].CommandId);
        EXPECT_EQ(action->toolTip(), QString::fromLatin1(start.Buttons[i].ToolTip));
        EXPECT_EQ(buttons[i]->iconSize(), QSize(32, 32));
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(App().m_selection.index(), start.SelectedGame);
    EXPECT_EQ(Caption(), QString::fromLatin1(start.Caption));
    EXPECT_EQ(Rows(), Memory());
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_TRUE(presenter.Messages.empty());

    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Frame().windowState(), Qt::WindowNoState);
    EXPECT_EQ(Frame().size(), QSize(600, 400));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Portico"));
}

INSTANTIATE_TEST_SUITE_P(
    Games, StartUpTest,
    ::testing::Values(StartCase{"OnlyWarcraft",
                                {TempWinePrefix::Game::Warcraft},
                                {kWarcraft},
                                2,
                                "Warcraft III 1.0 (Patch: None)"},
                      StartCase{"DiabloAndWarcraft",
                                {TempWinePrefix::Game::Warcraft, TempWinePrefix::Game::Diablo},
                                {kDiablo, kWarcraft},
                                1,
                                "Diablo II (Patch: 1.08/1.09b)"},
                      StartCase{"AllThree",
                                {TempWinePrefix::Game::Starcraft, TempWinePrefix::Game::Diablo,
                                 TempWinePrefix::Game::Warcraft},
                                {kStarcraft, kDiablo, kWarcraft},
                                0,
                                "Starcraft/Broodwar I (Patch: 1.08b/1.09b)"}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return info.param.Label; });

using MainFrameTest = PorticoFixture;

TEST_F(MainFrameTest, NoGameInstalledSaysSoAndOpensNoWindow)
{
    EXPECT_FALSE(Start());

    ASSERT_EQ(presenter.Messages.size(), 1u);
    EXPECT_EQ(presenter.Messages[0].Text, kNoGameInstalled);
    EXPECT_EQ(presenter.Messages[0].Icon, MessageIcon::Error);
    EXPECT_EQ(App().mainFrame(), nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
}

TEST_F(MainFrameTest, AGameWhoseListCannotBeReadHasAButtonButIsNotSelectedFirst)
{
    // Starcraft is installed but the gateway key does not exist.
    prefix.Install(Game::Starcraft);
    prefix.Install(Game::Warcraft);
    prefix.SetGateways(Game::Warcraft, SampleGateways(Game::Warcraft));
    ASSERT_TRUE(Start());

    const std::vector<QToolButton*> buttons = GameButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->defaultAction()->data().toInt(), 32818);
    EXPECT_EQ(App().m_selection.index(), 2);
    EXPECT_TRUE(presenter.Messages.empty());
}

TEST_F(MainFrameTest, WithNoListReadableNoGameIsSelectedUntilOneIsChosen)
{
    prefix.Install(Game::Starcraft);
    ASSERT_TRUE(Start());

    EXPECT_EQ(App().m_selection.index(), -1);
    EXPECT_EQ(Caption(), QString());
    EXPECT_EQ(View().model()->rowCount(), 0);
    EXPECT_EQ(View().model()->columnCount(), 5);
    for (const char* command : {"ID_SERVER_ADD", "ID_SERVER_CLEAR_ALL", "ID_SERVER_EDIT",
                                "ID_SERVER_DELETE", "ID_SERVER_PING_ALL"})
        EXPECT_FALSE(Command(command).isEnabled()) << command;

    // Add and Clear All do nothing without a game, whatever calls them.
    View().OnAddServer();
    View().OnClearAll();
    EXPECT_TRUE(dialog.OpenedWith.empty());
    EXPECT_EQ(View().model()->rowCount(), 0);

    GameButtons().at(0)->click();
    EXPECT_EQ(App().m_selection.index(), 0);
    EXPECT_EQ(Caption(), QStringLiteral("Starcraft/Broodwar I (Patch: 1.08b/1.09b)"));
    EXPECT_TRUE(Command("ID_SERVER_ADD").isEnabled());
    EXPECT_TRUE(Command("ID_SERVER_CLEAR_ALL").isEnabled());
}

TEST_F(MainFrameTest, ChoosingAGameShowsItsListAsMemoryHoldsIt)
{
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Diablo, Game::Warcraft}));
    const std::vector<QToolButton*> buttons = GameButtons();
    ASSERT_EQ(buttons.size(), 3u);

    buttons[1]->click();
    EXPECT_EQ(App().m_selection.index(), 1);
    EXPECT_EQ(Caption(), QStringLiteral("Diablo II (Patch: 1.08/1.09b)"));
    const std::vector<Row> diablo = Rows();
    ASSERT_EQ(diablo.size(), 3u);
    EXPECT_EQ(diablo[2][0], "\x04Gold\x07 Realm\x06");
    EXPECT_EQ(diablo[0][0], "\xd6resund \x96 Europe");

    // An unsaved change stays in memory and shows again after a switch; the registry is not
    // read again.
    App().m_models.forGame(0).removeServer(0);
    buttons[0]->click();
    EXPECT_EQ(Rows(), Memory());
    EXPECT_EQ(Rows().size(), 2u);

    // Choosing the selected game again shows its list as memory holds it.
    App().m_models.forGame(0).addServer("Late", "3", "late.test");
    buttons[0]->click();
    EXPECT_EQ(App().m_selection.index(), 0);
    EXPECT_EQ(Rows(), Memory());
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(MainFrameTest, CommandsCarryTheirIdsTextsAcceleratorsAndPrompts)
{
    ASSERT_TRUE(StartWith({Game::Warcraft}));
    const struct {
        const char* Name;
        int Id;
        const char* Text;
        const char* Shortcut;
        const char* Prompt;
        const char* ToolTip;
    } commands[] = {
        {"ID_FILE_WINE_PREFIX", 184, "&Wine prefix\u2026", "",
         "Choose the Wine prefix whose games are edited", "Wine prefix"},
        {"ID_FILE_RELOAD", 180, "Rel&oad from registry...\tCtrl+O", "Ctrl+O",
         "Reload server list from registry", "Reload from registry"},
        {"ID_FILE_SAVE_REGISTRY", 181, "&Save to registry\tCtrl+S", "Ctrl+S",
         "Save server list to registry", "Save to registry"},
        {"ID_FILE_IMPORT", 177, "&Import from file\tCtrl+I", "Ctrl+I",
         "Import server list from file", "Import from file"},
        {"ID_FILE_EXPORT", 178, "&Export to file\tCtrl+X", "Ctrl+X", "Export server list to file",
         "Export to file"},
        {"ID_EDIT_OPTIONS", 168, "&Options", "", "Edit Options", "Edit Program Options"},
        {"ID_SERVER_ADD", 164, "&Add a server...\tCtrl+A", "Ctrl+A",
         "Add a BattleNet Server to the list", "Add Server"},
        {"ID_SERVER_EDIT", 165, "&Edit a server...\tCtrl+E", "Ctrl+E",
         "Edit the BattleNet Server's properties", "Edit Server's Properties"},
        {"ID_SERVER_DELETE", 166, "&Delete a server...\tCtrl+D", "Ctrl+D",
         "Remove a BattleNet Server from the list", "Remove Server"},
        {"ID_SERVER_PING_ALL", 167, "&Ping all servers...\tCtrl+P", "Ctrl+P",
         "Ping the BattleNet Servers", "Ping Servers"},
        {"ID_SERVER_CLEAR_ALL", 183, "&Clear All", "",
         "Clear the server list of current selected game", nullptr},
        {"ID_APP_ABOUT", 57664, "&About Portico...", "", "", nullptr},
        {"ID_APP_EXIT", 57665, "E&xit", "", "", nullptr},
    };
    for (const auto& expected : commands) {
        SCOPED_TRACE(expected.Name);
        const QAction& action = Command(expected.Name);
        EXPECT_EQ(action.data().toInt(), expected.Id);
        EXPECT_EQ(action.text(), QString::fromUtf8(expected.Text));
        EXPECT_EQ(action.shortcut(), QKeySequence(QString::fromLatin1(expected.Shortcut)));
        EXPECT_EQ(action.statusTip(), QString::fromLatin1(expected.Prompt));
        if (expected.ToolTip != nullptr) {
            EXPECT_EQ(action.toolTip(), QString::fromLatin1(expected.ToolTip));
        }
    }
}

TEST_F(MainFrameTest, MenusAndToolbarHoldTheCommandsInOrder)
{
    ASSERT_TRUE(StartWith({Game::Warcraft}));
    QStringList titles;
    for (const QAction* menu : Frame().menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Server", "&Help"}));

    const auto menu = [this](const char* name) -> const QMenu& {
        return *Frame().findChild<QMenu*>(QString::fromLatin1(name));
    };
    EXPECT_EQ(MenuLayout(menu("menuFile")),
              QStringList({QString::fromUtf8("&Wine prefix\u2026"), "-",
                           "Rel&oad from registry...\tCtrl+O", "&Save to registry\tCtrl+S", "-",
                           "&Import from file\tCtrl+I", "&Export to file\tCtrl+X", "-", "E&xit"}));
    EXPECT_EQ(MenuLayout(menu("menuEdit")), QStringList({"&Options"}));
    EXPECT_EQ(MenuLayout(menu("menuServer")),
              QStringList({"&Add a server...\tCtrl+A", "&Edit a server...\tCtrl+E",
                           "&Delete a server...\tCtrl+D", "-", "&Clear All", "-",
                           "&Ping all servers...\tCtrl+P"}));
    EXPECT_EQ(MenuLayout(menu("menuHelp")), QStringList({"&About Portico..."}));

    const auto* toolBar = Frame().findChild<QToolBar*>(QStringLiteral("standardToolBar"));
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar->windowTitle(), QStringLiteral("Standard"));
    EXPECT_EQ(toolBar->iconSize(), QSize(16, 16));
    std::vector<int> buttons;
    for (const QAction* action : toolBar->actions()) {
        buttons.push_back(action->isSeparator() ? 0 : action->data().toInt());
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
        }
    }
    EXPECT_THAT(buttons, ElementsAre(180, 181, 0, 164, 166, 165, 167, 0, 168, 0, 57664));
}

TEST_F(MainFrameTest, BarsAroundTheList)
{
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Warcraft}));

    auto* shortcuts = Frame().findChild<QDockWidget*>(QStringLiteral("shortcutsBar"));
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_EQ(Frame().dockWidgetArea(shortcuts), Qt::LeftDockWidgetArea);
    EXPECT_EQ(shortcuts->width(), 130);
    auto* caption = shortcuts->findChild<QLabel*>(QStringLiteral("pageCaption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("Supported games"));
    auto* page = shortcuts->findChild<QWidget*>(QStringLiteral("supportedGamesPage"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->palette().color(QPalette::Window), QColor(Qt::white));

    auto* ready = Frame().statusBar()->findChild<QLabel*>(QStringLiteral("messagePane"));
    ASSERT_NE(ready, nullptr);
    EXPECT_EQ(ready->text(), QStringLiteral("Ready"));
    Command("ID_SERVER_ADD").showStatusText(&Frame());
    EXPECT_EQ(Frame().statusBar()->currentMessage(),
              QStringLiteral("Add a BattleNet Server to the list"));

    const QStringList headers = {"Servername", "Hostname", "TZ", "Ping (ms)", "Status"};
    for (int column = 0; column < headers.size(); ++column)
        EXPECT_EQ(View().model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
    EXPECT_TRUE(View().showGrid());
    EXPECT_EQ(View().selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(View().selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(View().horizontalHeader()->sectionsClickable());
    EXPECT_FALSE(View().isSortingEnabled());
}

TEST_F(MainFrameTest, CommandsAreEnabledAsTheListAllows)
{
    ASSERT_TRUE(StartWith({Game::Starcraft}));
    const auto enabled = [this] {
        std::vector<bool> states;
        for (const char* name :
             {"ID_SERVER_ADD", "ID_SERVER_EDIT", "ID_SERVER_DELETE", "ID_SERVER_CLEAR_ALL",
              "ID_SERVER_PING_ALL", "ID_FILE_EXPORT", "ID_EDIT_OPTIONS", "ID_FILE_RELOAD",
              "ID_FILE_SAVE_REGISTRY", "ID_FILE_IMPORT", "ID_APP_ABOUT"})
            states.push_back(Command(name).isEnabled());
        return states;
    };
    //                              Add   Edit   Del    Clear Ping   Export Opts   Rel   Save  Imp
    //                              About
    const std::vector<bool> rowsNoSelection{true,  false, false, true, true, false,
                                            false, true,  true,  true, true};
    const std::vector<bool> rowSelected{true,  true, true, true, true, false,
                                        false, true, true, true, true};
    const std::vector<bool> noRows{true,  false, false, true, false, false,
                                   false, true,  true,  true, true};

    EXPECT_EQ(enabled(), rowsNoSelection);
    SelectRow(1);
    EXPECT_EQ(enabled(), rowSelected);
    View().clearSelection();
    EXPECT_EQ(enabled(), rowsNoSelection);
    SelectRow(0);
    View().OnClearAll();
    EXPECT_EQ(enabled(), noRows);
}

TEST_F(MainFrameTest, AcceleratorsRunTheirCommands)
{
    ASSERT_TRUE(StartWith({Game::Starcraft, Game::Warcraft}));
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));

    QTest::keyClick(&View(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(picker.Calls, 1);
    QTest::keyClick(&View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dialog.OpenedWith.size(), 1u);
    SelectRow(0);
    QTest::keyClick(&View(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(dialog.OpenedWith.size(), 2u);
    QTest::keyClick(&View(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(Memory(), Rows());
    QTest::keyClick(&View(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Rows().size(), 3u);
    QTest::keyClick(&View(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_THAT(MessageTexts(),
                ElementsAre("Settings successfully loaded from registry.\nPress OK to continue",
                            "Settings successfully saved to registry.\nPress OK to continue"));
}

TEST_F(MainFrameTest, TheServerMenuOpensAtThePointOfAContextMenuRequest)
{
    ASSERT_TRUE(StartWith({Game::Starcraft}));
    SelectRow(0);
    const QPoint local(20, 10);
    const QPoint global(140, 120);
    QContextMenuEvent request(QContextMenuEvent::Mouse, local, global);
    QApplication::sendEvent(View().viewport(), &request);

    auto* menu = Frame().findChild<QMenu*>(QStringLiteral("menuServer"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), global);
    EXPECT_TRUE(Command("ID_SERVER_EDIT").isEnabled());
    menu->close();
}

TEST_F(MainFrameTest, HelpAboutOpensTheAboutBoxWithoutAParent)
{
    ASSERT_TRUE(StartWith({Game::Warcraft}));
    auto* help = Frame().findChild<QMenu*>(QStringLiteral("menuHelp"));
    ASSERT_NE(help, nullptr);
    ASSERT_EQ(help->actions().value(0), &Command("ID_APP_ABOUT"));

    QString title;
    bool hasParent = true;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(
            QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000));
        QWidget* box = QApplication::activeModalWidget();
        title = box->windowTitle();
        hasParent = box->parentWidget() != nullptr;
        box->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    help->actions().value(0)->trigger();

    EXPECT_EQ(title, QStringLiteral("About Portico"));
    EXPECT_FALSE(hasParent);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
