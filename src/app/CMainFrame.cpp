#include "app/CMainFrame.h"

#include "app/CCaptionBar.h"
#include "app/CShortcutsBar.h"
#include "app/CommandInfo.h"
#include "app/Resource.h"
#include "data/GameCatalog.h"
#include "data/MessagePresenter.h"
#include "dialogs/AnsiText.h"
#include "doc/CPorticoDoc.h"
#include "doc/CPorticoView.h"
#include "doc/GameSelection.h"
#include "doc/Seams.h"
#include "doc/ServerListModel.h"
#include "doc/ServerListModels.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {
constexpr char kNoGameInstalled[] =
    "At least one of the following games must installed in order to properly run this "
    "program:\nStarcraft/Broodwar\nDiablo II\nWarcraft III";

// The image list of the shortcuts bar; a game's ImageIndex picks its picture.
QIcon GameImage(int imageIndex)
{
    static const std::array kImages = {":/games/game0.png", ":/games/game1.png",
                                       ":/games/game2.png", ":/games/game3.png"};
    if (imageIndex < 0 || imageIndex >= static_cast<int>(kImages.size()))
        return QIcon();
    return QIcon(QString::fromLatin1(kImages[static_cast<std::size_t>(imageIndex)]));
}

// Our own pictures only: looking a name up in the desktop's icon theme reads the theme's whole
// index, which cost a quarter of the start-up.
QIcon CommandIcon(const CommandInfo& command)
{
    return command.Picture == nullptr ? QIcon() : QIcon(QString::fromLatin1(command.Picture));
}
} // namespace

CMainFrame::CMainFrame(CPorticoDoc& document, GameCatalog& catalog, GameSelection& selection,
                       ServerListModels& models, RegistryApi& registry, SocketApi& sockets,
                       const Seams& seams)
    : m_document(document), m_catalog(catalog), m_selection(selection), m_models(models),
      m_registry(registry), m_sockets(sockets), m_seams(seams)
{
    setObjectName(QStringLiteral("mainFrame"));
    // The title is fixed; no document name is ever added to it.
    setWindowTitle(QStringLiteral("Portico"));
    setWindowIcon(QIcon(QStringLiteral(":/portico.png")));
    // No menu for hiding the bars: their state is neither changed nor kept.
    setContextMenuPolicy(Qt::NoContextMenu);
}

CMainFrame::~CMainFrame()
{
    // The view goes after this part of the frame: nothing is left to enable.
    if (m_pView != nullptr)
        disconnect(m_pView, nullptr, this, nullptr);
}

int CMainFrame::OnCreate()
{
    createCommands();
    createMenuBar();
    createToolBar();
    createStatusBar();
    CreateCaptionBar();
    m_pView = new CPorticoView(m_selection, m_models, m_sockets, *m_pServerMenu, m_seams, this);
    setCentralWidget(m_pView);
    if (!CreateShortcutsBar())
        return -1;
    connectCommands();
    updateCommandUi();
    resize(kWidth, kHeight);
    return 0;
}

void CMainFrame::createCommands()
{
    for (const CommandInfo& command : CommandInfo::All()) {
        auto* action = new QAction(CommandIcon(command), QString::fromUtf8(command.MenuText), this);
        action->setObjectName(QString::fromLatin1(command.ObjectName));
        action->setData(command.Id);
        if (command.Shortcut != nullptr)
            action->setShortcut(QKeySequence(QString::fromLatin1(command.Shortcut)));
        if (command.Prompt != nullptr)
            action->setStatusTip(QString::fromLatin1(command.Prompt));
        if (command.ToolTip != nullptr)
            action->setToolTip(QString::fromLatin1(command.ToolTip));
        m_commands[command.Id] = action;
    }
}

void CMainFrame::createMenuBar()
{
    m_wndMenuBar = menuBar();
    const auto addMenu = [this](const char* name, const char* title,
                                std::initializer_list<int> ids) {
        QMenu* menu = m_wndMenuBar->addMenu(QString::fromLatin1(title));
        menu->setObjectName(QString::fromLatin1(name));
        for (int id : ids) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(m_commands.at(id));
        }
        // Commands are enabled as they stand when the menu opens.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUi);
        return menu;
    };
    addMenu("menuFile", "&File",
            {ID_FILE_WINE_PREFIX, 0, ID_FILE_RELOAD, ID_FILE_SAVE_REGISTRY, 0, ID_FILE_IMPORT,
             ID_FILE_EXPORT, 0, ID_APP_EXIT});
    addMenu("menuEdit", "&Edit", {ID_EDIT_OPTIONS});
    m_pServerMenu = addMenu("menuServer", "&Server",
                            {ID_SERVER_ADD, ID_SERVER_EDIT, ID_SERVER_DELETE, 0,
                             ID_SERVER_CLEAR_ALL, 0, ID_SERVER_PING_ALL});
    addMenu("menuHelp", "&Help", {ID_APP_ABOUT});
}

void CMainFrame::createToolBar()
{
    m_wndToolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_wndToolBar->setObjectName(QStringLiteral("standardToolBar"));
    m_wndToolBar->setIconSize(QSize(16, 16));
    m_wndToolBar->setMovable(false);
    for (int id : {ID_FILE_RELOAD, ID_FILE_SAVE_REGISTRY, 0, ID_SERVER_ADD, ID_SERVER_DELETE,
                   ID_SERVER_EDIT, ID_SERVER_PING_ALL, 0, ID_EDIT_OPTIONS, 0, ID_APP_ABOUT}) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(m_commands.at(id));
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::createStatusBar()
{
    m_wndStatusBar = statusBar();
    m_wndStatusBar->setObjectName(QStringLiteral("statusBar"));
    // The one pane: command prompts cover it while they show, "Ready" stays underneath.
    m_messagePane = new QLabel(QStringLiteral("Ready"), m_wndStatusBar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    m_wndStatusBar->addWidget(m_messagePane, 1);
    m_prefixPane = new QLabel(m_wndStatusBar);
    m_prefixPane->setObjectName(QStringLiteral("prefixPane"));
    m_prefixPane->hide();
    m_wndStatusBar->addPermanentWidget(m_prefixPane);
}

void CMainFrame::setPrefix(const QString& shown, const QString& path)
{
    m_prefixPane->setText(QStringLiteral("Wine prefix: %1").arg(shown));
    m_prefixPane->setToolTip(path);
    m_prefixPane->show();
    updateCommandUi();
}

void CMainFrame::CreateCaptionBar()
{
    m_wndCaptionBar = new CCaptionBar(this);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_wndCaptionBar);
}

bool CMainFrame::CreateShortcutsBar()
{
    m_wndShortcutsBar = new CShortcutsBar(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_wndShortcutsBar);
    if (!LoadGames()) {
        m_seams.Presenter.ShowMessage(kNoGameInstalled, MessageIcon::Error);
        return false;
    }
    return true;
}

bool CMainFrame::LoadGames()
{
    m_wndShortcutsBar->clearButtons();
    for (QAction* action : m_gameCommands) {
        m_commands.erase(action->data().toInt());
        delete action;
    }
    m_gameCommands.clear();

    std::vector<std::size_t> installed;
    std::int32_t first = -1;
    m_models.replaceAll([&] {
        for (std::size_t i = 0; i < m_catalog.Size(); ++i) {
            GameInfo& game = m_catalog[i];
            // Nothing of another prefix's lists stays behind.
            game.Servers.Clear();
            if (!game.IsInstalled(m_registry))
                continue;
            installed.push_back(i);
            try {
                game.LoadGateways(m_registry);
                if (first < 0)
                    first = static_cast<std::int32_t>(i);
            } catch (const std::exception&) {
                // The game keeps its button and an empty list; it is not selected first.
            }
        }
    });
    m_models.setModified(false);
    m_selection.select(first);

    for (std::size_t i : installed) {
        const GameInfo& game = m_catalog[i];
        const int id = ID_GAME_FIRST + static_cast<int>(i);
        auto* action =
            new QAction(GameImage(game.ImageIndex), AnsiText::ToQString(game.Name), this);
        action->setObjectName(QStringLiteral("ID_GAME_%1").arg(i));
        action->setData(id);
        if (const char* prompt = CommandInfo::GamePrompt(static_cast<int>(i))) {
            action->setStatusTip(QString::fromLatin1(prompt));
            action->setToolTip(QString::fromLatin1(prompt));
        }
        // Only the first eleven games have a command that is handled.
        if (id <= ID_GAME_LAST)
            connect(action, &QAction::triggered, this, [this, id] { OnSelectGame(id); });
        m_commands[id] = action;
        m_gameCommands.push_back(action);
        m_wndShortcutsBar->addButton(action);
    }
    updateCommandUi();
    return !installed.empty();
}

void CMainFrame::connectCommands()
{
    const auto connectCommand = [this](int id, auto* receiver, auto handler) {
        connect(m_commands.at(id), &QAction::triggered, receiver, handler);
    };
    connectCommand(ID_FILE_RELOAD, &m_document, &CPorticoDoc::OnReloadFromRegistry);
    connectCommand(ID_FILE_SAVE_REGISTRY, &m_document, &CPorticoDoc::OnSaveToRegistry);
    connect(m_commands.at(ID_FILE_IMPORT), &QAction::triggered, this,
            [this] { m_document.OnImportFromFile(this); });
    connectCommand(ID_APP_EXIT, this, &CMainFrame::close);
    connectCommand(ID_SERVER_ADD, m_pView, &CPorticoView::OnAddServer);
    connectCommand(ID_SERVER_EDIT, m_pView, &CPorticoView::OnEditServer);
    connectCommand(ID_SERVER_DELETE, m_pView, &CPorticoView::OnDeleteServer);
    connectCommand(ID_SERVER_CLEAR_ALL, m_pView, &CPorticoView::OnClearAll);
    connectCommand(ID_SERVER_PING_ALL, m_pView, &CPorticoView::OnPingAllServers);

    // The commands follow the rows and the selection as they change.
    connect(m_pView, &CPorticoView::commandStateChanged, this, &CMainFrame::updateCommandUi);
    connect(m_pView, &CPorticoView::titleChanged, m_wndCaptionBar, &CCaptionBar::setText);
    // A ping run says how far it has come where "Ready" stands, and gives the pane back after.
    connect(m_pView, &CPorticoView::pingProgress, this, [this](int done, int total) {
        m_messagePane->setText(
            QStringLiteral("Pinging %1 of %2\u2026").arg(std::min(done + 1, total)).arg(total));
    });
    connect(m_pView, &CPorticoView::pingFinished, this,
            [this] { m_messagePane->setText(QStringLiteral("Ready")); });
}

void CMainFrame::updateCommandUi()
{
    const bool gameSelected = m_selection.game() != nullptr;
    const bool rowSelected = m_pView->HasSelection();
    const bool hasRows = m_pView->listModel().rowCount() > 0;
    const struct {
        int Id;
        bool Enabled;
    } rules[] = {
        // Only a frame on a Wine prefix, which it shows, can change to another.
        {ID_FILE_WINE_PREFIX, !m_prefixPane->isHidden()},
        {ID_FILE_RELOAD, true},
        {ID_FILE_SAVE_REGISTRY, true},
        {ID_FILE_IMPORT, true},
        {ID_FILE_EXPORT, false},
        {ID_EDIT_OPTIONS, false},
        {ID_APP_EXIT, true},
        {ID_APP_ABOUT, true},
        {ID_SERVER_ADD, gameSelected},
        {ID_SERVER_CLEAR_ALL, gameSelected},
        {ID_SERVER_EDIT, rowSelected},
        {ID_SERVER_DELETE, rowSelected},
        {ID_SERVER_PING_ALL, hasRows && !m_pView->isPinging()},
    };
    for (const auto& rule : rules)
        m_commands.at(rule.Id)->setEnabled(rule.Enabled);
}

void CMainFrame::OnSelectGame(int id)
{
    m_selection.select(id - ID_GAME_FIRST);
}
