#include "doc/CPorticoDoc.h"

#include "app/CMainFrame.h"
#include "app/CPorticoApp.h"
#include "app/CWaitCursor.h"
#include "app/FilePicker.h"
#include "data/MessagePresenter.h"
#include "data/ServerListFile.h"
#include "data/Services.h"
#include "doc/CPorticoView.h"

#include <QFile>

#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr char kLoaded[] = "Settings successfully loaded from registry.\nPress OK to continue";
constexpr char kSaved[] = "Settings successfully saved to registry.\nPress OK to continue";
constexpr char kImportFailed[] = "Error while importing Server List";

void Show(const std::string& text, MessageIcon icon)
{
    Services::Presenter().ShowMessage(text, icon);
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

CPorticoView& ActiveView()
{
    return *theApp.GetMainFrame()->GetActiveView();
}
} // namespace

void CPorticoDoc::OnReloadFromRegistry()
{
    GameError stoppedAt;
    bool reloaded = false;
    {
        CWaitCursor wait;
        reloaded = theApp.m_catalog.ReloadAll(&stoppedAt);
        ActiveView().RefreshList();
    }
    // The games before the one that failed were reloaded, the ones after it were not.
    if (reloaded)
        Show(kLoaded, MessageIcon::Warning);
    else
        Show("Reloading from registry stopped at " + stoppedAt.GameName + ":\n" + stoppedAt.Reason +
                 "\nThe server lists of the games after it were not reloaded.",
             MessageIcon::Error);
}

void CPorticoDoc::OnSaveToRegistry()
{
    SaveReport report;
    {
        CWaitCursor wait;
        theApp.m_catalog.SaveAll(&report);
    }
    if (report.Failed.empty()) {
        Show(kSaved, MessageIcon::Warning);
        return;
    }
    std::string failures = "These server lists were not saved to registry:";
    for (const GameError& failure : report.Failed)
        failures += "\n" + failure.GameName + ": " + failure.Reason;
    Show(failures, MessageIcon::Error);
    if (!report.Saved.empty())
        Show("Settings of " + JoinNames(report.Saved) +
                 " successfully saved to registry.\nPress OK to continue",
             MessageIcon::Warning);
}

void CPorticoDoc::OnImportFromFile()
{
    QString path;
    if (!FilePicker::Current().GetOpenFileName(
            theApp.GetMainFrame(), QStringLiteral("Import Battle Net Server List"),
            {QStringLiteral("Battle Net Server List (*.xml)"), QStringLiteral("All Files (*)")},
            QStringLiteral("xml"), path))
        return;

    std::stringstream stream(std::ios::in | std::ios::out);
    const bool imported = ReadServerListFile(QFile::encodeName(path).toStdString(), stream) &&
                          theApp.m_catalog.Parse(stream);
    // A parse that failed half-way has emptied the lists all the same: show what memory holds.
    ActiveView().RefreshList();
    if (!imported)
        Show(kImportFailed, MessageIcon::Error);
}
