#pragma once

#include "data/GameCatalog.h"

#include <cstdint>
#include <memory>

class CMainFrame;
class CPorticoDoc;

// The application: owns every game with its server list, which game is selected, the one
// document and the main window, and runs start-up and shutdown.
class CPorticoApp {
public:
    CPorticoApp();
    ~CPorticoApp();
    CPorticoApp(const CPorticoApp&) = delete;
    CPorticoApp& operator=(const CPorticoApp&) = delete;

    // Reads the catalogue, creates the document, the main window and its view, and shows the
    // window. False ends the program; whatever went wrong has been shown. Needs a
    // QApplication, an installed registry and message presenter.
    bool InitInstance();
    // Destroys the main window and the document; returns the exit code to use.
    int ExitInstance(int exitCode);

    // The selected game; nullptr while none is selected, so nothing reads past the catalogue.
    GameInfo* GetSelectedGame();
    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }

    GameCatalog m_catalog;
    std::int32_t m_nSelectedGame = -1;

private:
    std::unique_ptr<CPorticoDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};

extern CPorticoApp theApp;
