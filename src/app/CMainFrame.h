#pragma once

#include <QMainWindow>

#include <map>
#include <vector>

class CCaptionBar;
class CPorticoDoc;
class CPorticoView;
class CShortcutsBar;
class GameCatalog;
class GameSelection;
class RegistryApi;
class ServerListModels;
class SocketApi;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
struct Seams;

// The main window: menu bar, toolbar "Standard", status bar, caption bar, the game shortcuts
// bar and the server list view. While it is created, and again for each new Wine prefix, it
// finds the installed games, loads their server lists and picks the first selected game. It
// works on what it is handed: the document, the catalogue with the selection and the models of
// its lists, the registry the lists come from, and the seams through which it meets the user.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 400;

    CMainFrame(CPorticoDoc& document, GameCatalog& catalog, GameSelection& selection,
               ServerListModels& models, RegistryApi& registry, SocketApi& sockets,
               const Seams& seams);
    ~CMainFrame() override;

    // 0 once every part exists; -1 when the frame cannot be used (no game installed, which
    // has then been said).
    int OnCreate();

    CPorticoView* GetActiveView() const { return m_pView; }
    CCaptionBar* captionBar() const { return m_wndCaptionBar; }
    // The action of a command id of the menus, the toolbar or the shortcuts bar.
    QAction* command(int id) const { return m_commands.at(id); }

    // Enables or disables every command as the state of the view and the catalogue allows.
    void updateCommandUi();

    void OnSelectGame(int id);

    // Replaces the buttons and every list with those of the games installed in the registry
    // as it now is, and selects the first game whose list loaded. False when no game is
    // installed.
    bool LoadGames();

    // The Wine prefix in use, shown in the status bar: short, and in full as the tooltip.
    // Until it is set there is no prefix to choose.
    void setPrefix(const QString& shown, const QString& path);

private:
    void createCommands();
    void createMenuBar();
    void createToolBar();
    void createStatusBar();
    void CreateCaptionBar();
    bool CreateShortcutsBar();
    void connectCommands();

    CPorticoDoc& m_document;
    GameCatalog& m_catalog;
    GameSelection& m_selection;
    ServerListModels& m_models;
    RegistryApi& m_registry;
    SocketApi& m_sockets;
    const Seams& m_seams;
    QLabel* m_messagePane = nullptr;
    QMenuBar* m_wndMenuBar = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    CShortcutsBar* m_wndShortcutsBar = nullptr;
    CCaptionBar* m_wndCaptionBar = nullptr;
    CPorticoView* m_pView = nullptr;
    QMenu* m_pServerMenu = nullptr;
    std::map<int, QAction*> m_commands;
    std::vector<QAction*> m_gameCommands;
    QLabel* m_prefixPane = nullptr;
};
