#include "app/CPorticoApp.h"

#include "about/CPorticoAboutDlg.h"
#include "app/AppStartup.h"
#include "app/CMainFrame.h"
#include "app/Resource.h"
#include "data/MessagePresenter.h"
#include "doc/CPorticoDoc.h"
#include "doc/CPorticoView.h"

#include <QAction>
#include <QtGlobal>

#include <string>

CPorticoApp::CPorticoApp(RegistryApi& registry, SocketApi& sockets, const Seams& seams)
    : m_selection(m_catalog), m_models(m_catalog), m_registry(registry), m_sockets(sockets),
      m_seams(seams)
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

    // Whatever show state the start asked for, the window opens normally.
    m_pMainWnd->showNormal();
    return true;
}

void CPorticoApp::OnAppAbout()
{
    CPorticoAboutDlg dialog(m_seams.Urls, m_seams.Presenter, m_seams.InstantMessenger);
    dialog.DoModal();
}

int CPorticoApp::ExitInstance(int exitCode)
{
    m_pMainWnd.reset();
    m_pDocument.reset();
    return exitCode;
}
