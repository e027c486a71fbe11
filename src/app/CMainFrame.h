#pragma once

#include <QMainWindow>

#include <map>

class CCaptionBar;
class CPorticoDoc;
class CPorticoView;
class CShortcutsBar;
class QAction;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;

// The main window: menu bar, toolbar "Standard", status bar, caption bar, the game shortcuts
// bar and the server list view. While it is created it finds the installed games, loads their
// server lists and picks the first selected game.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 400;

    explicit CMainFrame(CPorticoDoc& document);
    ~CMainFrame() override;

    // 0 once every part exists; -1 when the frame cannot be used (no game installed, which
    // has then been said).
    int OnCreate();

    CPorticoView* GetActiveView() const { return m_pView; }
    CCaptionBar* GetCaptionBar() const { return m_wndCaptionBar; }

    // Enables or disables every command as the state of the view and the catalogue allows.
    void UpdateCommandUI();

    void OnSelectGame(int id);

private:
    void CreateCommands();
    void CreateMenuBar();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateCaptionBar();
    bool CreateShortcutsBar();
    void ConnectCommands();

    CPorticoDoc& m_document;
    QMenuBar* m_wndMenuBar = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    CShortcutsBar* m_wndShortcutsBar = nullptr;
    CCaptionBar* m_wndCaptionBar = nullptr;
    CPorticoView* m_pView = nullptr;
    QMenu* m_pServerMenu = nullptr;
    std::map<int, QAction*> m_commands;
};
