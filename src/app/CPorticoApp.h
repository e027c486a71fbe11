#pragma once

#include "data/GameCatalog.h"
#include "doc/GameSelection.h"
#include "doc/Seams.h"
#include "doc/ServerListModels.h"

#include <memory>

class CMainFrame;
class CPorticoDoc;
class RegistryApi;
class SocketApi;

// The application: owns every game with its server list, which game is selected, the one
// document and the main window, and runs start-up and shutdown. Everything the windows work on
// is made here and handed down to them.
class CPorticoApp {
public:
    // The registry the lists are read from and saved to, the sockets the servers are pinged
    // through, and the seams through which the windows meet the user; all must outlive the
    // application.
    CPorticoApp(RegistryApi& registry, SocketApi& sockets, const Seams& seams);
    ~CPorticoApp();
    CPorticoApp(const CPorticoApp&) = delete;
    CPorticoApp& operator=(const CPorticoApp&) = delete;

    // Reads the catalogue, creates the document, the main window and its view, and shows the
    // window. False ends the program; whatever went wrong has been shown. Needs a QApplication.
    bool InitInstance();
    // Destroys the main window and the document; returns the exit code to use.
    int ExitInstance(int exitCode);

    // Help > About: the About box, modal and without a parent.
    void OnAppAbout();

    CMainFrame* mainFrame() const { return m_pMainWnd.get(); }

    GameCatalog m_catalog;
    GameSelection m_selection;
    ServerListModels m_models;

private:
    RegistryApi& m_registry;
    SocketApi& m_sockets;
    const Seams m_seams;
    std::unique_ptr<CPorticoDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
