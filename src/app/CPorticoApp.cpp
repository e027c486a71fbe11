#include "app/CPorticoApp.h"

#include "app/AppStartup.h"
#include "app/CMainFrame.h"
#include "doc/CPorticoDoc.h"
#include "doc/CPorticoView.h"

#include <QtGlobal>

CPorticoApp theApp;

CPorticoApp::CPorticoApp() = default;

CPorticoApp::~CPorticoApp() = default;

// Outside any namespace, as Qt requires; the resources live in a static library.
static void InitResources()
{
    Q_INIT_RESOURCE(portico);
}

bool CPorticoApp::InitInstance()
{
    InitResources();
    if (!AppStartup::LoadCatalog(m_catalog))
        return false;

    m_pDocument = std::make_unique<CPorticoDoc>();
    m_pMainWnd = std::make_unique<CMainFrame>(*m_pDocument);
    if (m_pMainWnd->OnCreate() != 0) {
        m_pMainWnd.reset();
        m_pDocument.reset();
        return false;
    }
    m_pMainWnd->GetActiveView()->OnInitialUpdate();

    // Whatever show state the start asked for, the window opens normally.
    m_pMainWnd->showNormal();
    return true;
}

int CPorticoApp::ExitInstance(int exitCode)
{
    m_pMainWnd.reset();
    m_pDocument.reset();
    return exitCode;
}

GameInfo* CPorticoApp::GetSelectedGame()
{
    if (m_nSelectedGame < 0 || static_cast<std::size_t>(m_nSelectedGame) >= m_catalog.Size())
        return nullptr;
    return &m_catalog[static_cast<std::size_t>(m_nSelectedGame)];
}
