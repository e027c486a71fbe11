#include "app/CPorticoApp.h"

#include "about/CPorticoAboutDlg.h"
#include "app/AppStartup.h"
#include "app/CMainFrame.h"
#include "app/CPrefixChooserDlg.h"
#include "app/PrefixSearch.h"
#include "app/Resource.h"
#include "app/WinePrefixes.h"
#include "data/MessagePresenter.h"
#include "doc/CPorticoDoc.h"
#include "doc/CPorticoView.h"
#include "doc/CWaitCursor.h"

#include <QAction>
#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <string>

namespace {
constexpr char kUnsaved[] =
    "The server lists have changes that are not saved to the registry of this prefix.\n"
    "Save them before changing to the other prefix?";
} // namespace

CPorticoApp::CPorticoApp(RegistryApi& registry, SocketApi& sockets, const Seams& seams)
    : m_selection(m_catalog), m_models(m_catalog), m_registry(registry), m_sockets(sockets),
      m_seams(seams)
{
}

CPorticoApp::CPorticoApp(WinePrefixes& prefixes, SocketApi& sockets, const Seams& seams)
    : m_selection(m_catalog), m_models(m_catalog), m_prefixes(&prefixes),
      m_prefixPath(prefixes.InEffect()), m_prefixRegistry(prefixes.Open(m_prefixPath)),
      m_registry(*m_prefixRegistry), m_sockets(sockets), m_seams(seams)
{
}

CPorticoApp::~CPorticoApp() = default;

// Outside any namespace, as Qt requires; the resources live in a static library.
static void InitResources()
{
    Q_INIT_RESOURCE(portico);
}

bool CPorticoApp::InitInstance()
{
    InitResources();
    std::string error;
    if (!AppStartup::LoadCatalog(m_catalog, &error)) {
        m_seams.Presenter.ShowMessage(error, MessageIcon::Warning);
        return false;
    }
    if (m_prefixes != nullptr &&
        std::none_of(m_catalog.begin(), m_catalog.end(),
                     [this](const GameInfo& game) { return game.IsInstalled(m_registry); }))
        chooseAnotherPrefix();

    m_pDocument = std::make_unique<CPorticoDoc>(m_catalog, m_models, m_registry, m_seams);
    m_pMainWnd = std::make_unique<CMainFrame>(*m_pDocument, m_catalog, m_selection, m_models,
                                              m_registry, m_sockets, m_seams);
    if (m_pMainWnd->OnCreate() != 0) {
        m_pMainWnd.reset();
        m_pDocument.reset();
        return false;
    }
    m_pMainWnd->GetActiveView()->OnInitialUpdate();
    QObject::connect(m_pMainWnd->command(ID_APP_ABOUT), &QAction::triggered,
                     [this] { OnAppAbout(); });
    if (m_prefixes != nullptr) {
        QObject::connect(m_pMainWnd->command(ID_FILE_WINE_PREFIX), &QAction::triggered,
                         [this] { OnChoosePrefix(); });
        showPrefix();
    }

    // Whatever show state the start asked for, the window opens normally.
    m_pMainWnd->showNormal();
    return true;
}

void CPorticoApp::chooseAnotherPrefix()
{
    // Before the window shows, only as far as the first prefix with a game.
    const std::vector<PrefixSearch::Entry> found =
        PrefixSearch::Run(m_prefixes->Places(), m_catalog, PrefixSearch::kBeforeWindow, true);
    // With no game anywhere, the frame says so as it always did.
    if (found.empty() || found.back().Games.empty())
        return;
    CPrefixChooserDlg dialog(m_prefixPath, m_prefixes->Home(), m_seams.Files, m_seams.Presenter);
    for (const PrefixSearch::Entry& entry : found)
        dialog.addPrefix(entry);
    // The rest while the chooser is open.
    PrefixSearch search(m_prefixes->Places(), m_catalog);
    connectSearch(search, dialog);
    if (dialog.DoModal() == QDialog::Accepted)
        usePrefix(dialog.chosenPath());
}

void CPorticoApp::OnAppAbout()
{
    CPorticoAboutDlg dialog(m_seams.Urls, m_seams.Presenter, m_seams.InstantMessenger);
    dialog.DoModal();
}

void CPorticoApp::OnChoosePrefix()
{
    CPrefixChooserDlg dialog(m_prefixPath, m_prefixes->Home(), m_seams.Files, m_seams.Presenter,
                             m_pMainWnd.get());
    // Destroyed before the dialog: the search stops with it.
    PrefixSearch search(m_prefixes->Places(), m_catalog);
    connectSearch(search, dialog);
    if (dialog.DoModal() == QDialog::Accepted)
        SwitchPrefix(dialog.chosenPath());
}

void CPorticoApp::connectSearch(PrefixSearch& search, CPrefixChooserDlg& dialog)
{
    QObject::connect(&search, &PrefixSearch::prefixFound, &dialog, &CPrefixChooserDlg::addPrefix);
    QObject::connect(&search, &PrefixSearch::finished, &dialog, &CPrefixChooserDlg::searchFinished);
    search.start();
}

bool CPorticoApp::SwitchPrefix(const std::string& prefixPath)
{
    if (prefixPath == m_prefixPath)
        return true;
    if (m_models.isModified()) {
        switch (m_seams.Presenter.AskSaveChanges(kUnsaved)) {
        case SaveChoice::Save:
            if (!m_pDocument->OnSaveToRegistry())
                return false;
            break;
        case SaveChoice::Discard:
            break;
        case SaveChoice::Cancel:
            return false;
        }
    }
    {
        CWaitCursor wait;
        usePrefix(prefixPath);
        m_pMainWnd->LoadGames();
    }
    showPrefix();
    return true;
}

void CPorticoApp::usePrefix(const std::string& prefixPath)
{
    std::unique_ptr<RegistryApi> registry = m_prefixes->Open(prefixPath);
    m_registry.SetTarget(*registry);
    m_prefixRegistry = std::move(registry);
    m_prefixPath = prefixPath;
}

void CPorticoApp::showPrefix()
{
    m_pMainWnd->setPrefix(
        QFile::decodeName(QByteArray::fromStdString(m_prefixes->Shown(m_prefixPath))),
        QFile::decodeName(QByteArray::fromStdString(m_prefixPath)));
    m_prefixes->Remember(m_prefixPath);
}

int CPorticoApp::ExitInstance(int exitCode)
{
    m_pMainWnd.reset();
    m_pDocument.reset();
    return exitCode;
}
