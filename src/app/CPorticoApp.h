#pragma once

#include "data/ForwardingRegistry.h"
#include "data/GameCatalog.h"
#include "doc/GameSelection.h"
#include "doc/Seams.h"
#include "doc/ServerListModels.h"

#include <memory>
#include <string>

class CMainFrame;
class CPorticoDoc;
class CPrefixChooserDlg;
class PrefixSearch;
class RegistryApi;
class SocketApi;
class WinePrefixes;

// The application: owns every game with its server list, which game is selected, the one
// document and the main window, and runs start-up and shutdown. Everything the windows work on
// is made here and handed down to them. On a Wine prefix it owns the registry of the prefix in
// use, which the windows reach through a registry that forwards to it, so that another prefix
// can take its place.
class CPorticoApp {
public:
    // One registry for the whole run, the sockets the servers are pinged through, and the seams
    // through which the windows meet the user; all must outlive the application.
    CPorticoApp(RegistryApi& registry, SocketApi& sockets, const Seams& seams);
    // The Wine prefix in effect, and any other the user chooses. The prefixes, the sockets and
    // the seams must outlive the application.
    CPorticoApp(WinePrefixes& prefixes, SocketApi& sockets, const Seams& seams);
    ~CPorticoApp();
    CPorticoApp(const CPorticoApp&) = delete;
    CPorticoApp& operator=(const CPorticoApp&) = delete;

    // Reads the catalogue, creates the document, the main window and its view, and shows the
    // window. When the prefix in effect holds no game but another prefix does, the user
    // chooses a prefix first. False ends the program; whatever went wrong has been shown.
    // Needs a QApplication.
    bool InitInstance();
    // Destroys the main window and the document; returns the exit code to use.
    int ExitInstance(int exitCode);

    // Help > About: the About box, modal and without a parent.
    void OnAppAbout();
    // File > Wine prefix: the prefixes found, searched for while the chooser is open; the one
    // chosen replaces the one in use.
    void OnChoosePrefix();
    // Reloads everything from another prefix, after asking what to do with edits not saved.
    // False when the user cancelled or the edits could not be saved: nothing changed then.
    bool SwitchPrefix(const std::string& prefixPath);

    CMainFrame* mainFrame() const { return m_pMainWnd.get(); }
    // The prefix in use; empty without Wine prefixes.
    const std::string& prefixPath() const { return m_prefixPath; }

    GameCatalog m_catalog;
    GameSelection m_selection;
    ServerListModels m_models;

private:
    // Makes the windows' registry that of the prefix; the windows are not told.
    void usePrefix(const std::string& prefixPath);
    // At start, when the prefix in effect holds no game: the prefixes that do, to choose from.
    void chooseAnotherPrefix();
    void showPrefix();
    // Starts the search, whose finds go to the chooser.
    static void connectSearch(PrefixSearch& search, CPrefixChooserDlg& dialog);

    WinePrefixes* m_prefixes = nullptr;
    std::string m_prefixPath;
    std::unique_ptr<RegistryApi> m_prefixRegistry;
    ForwardingRegistry m_registry;
    SocketApi& m_sockets;
    const Seams m_seams;
    std::unique_ptr<CPorticoDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
