#include "doc/CPorticoDoc.h"

#include "data/ErrorCodes.h"
#include "data/GameCatalog.h"
#include "data/MessagePresenter.h"
#include "data/ServerListFile.h"
#include "data/Util.h"
#include "doc/CWaitCursor.h"
#include "doc/FilePicker.h"
#include "doc/Seams.h"
#include "doc/ServerListModels.h"

#include <QFile>

#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr char kLoaded[] = "Settings successfully loaded from registry.\nPress OK to continue";
constexpr char kSaved[] = "Settings successfully saved to registry.\nPress OK to continue";
constexpr char kImportFailed[] = "Error while importing Server List";

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}
} // namespace

CPorticoDoc::CPorticoDoc(GameCatalog& catalog, ServerListModels& models, RegistryApi& registry,
                         const Seams& seams, QObject* parent)
    : QObject(parent), m_catalog(catalog), m_models(models), m_registry(registry), m_seams(seams)
{
}

void CPorticoDoc::OnReloadFromRegistry()
{
    GameError stoppedAt;
    bool reloaded = false;
    {
        CWaitCursor wait;
        m_models.replaceAll([&] { reloaded = m_catalog.ReloadAll(m_registry, &stoppedAt); });
    }
    // The games before the one that failed were reloaded, the ones after it were not.
    if (reloaded) {
        m_models.setModified(false);
        m_seams.Presenter.ShowMessage(kLoaded, MessageIcon::Warning);
    } else {
        m_seams.Presenter.ShowMessage("Reloading from registry stopped at " + stoppedAt.GameName +
                                          ":\n" + stoppedAt.Reason +
                                          "\nThe server lists of the games after it were not "
                                          "reloaded.",
                                      MessageIcon::Error);
    }
}

bool CPorticoDoc::OnSaveToRegistry()
{
    // Said once for the whole save rather than once per game.
    if (const RegStatus status = m_registry.CheckWritable(); status != ErrorCode::Success) {
        m_seams.Presenter.ShowMessage(
            Util::FormatErrorMessage(m_registry.ErrorTexts(), static_cast<std::uint32_t>(status)) +
                "\nNo server list was saved.",
            MessageIcon::Error);
        return false;
    }
    SaveReport report;
    {
        CWaitCursor wait;
        m_catalog.SaveAll(m_registry, &report);
    }
    if (report.Failed.empty()) {
        m_models.setModified(false);
        m_seams.Presenter.ShowMessage(kSaved, MessageIcon::Warning);
        return true;
    }
    std::string failures = "These server lists were not saved to registry:";
    for (const GameError& failure : report.Failed)
        failures += "\n" + failure.GameName + ": " + failure.Reason;
    m_seams.Presenter.ShowMessage(failures, MessageIcon::Error);
    if (!report.Saved.empty())
        m_seams.Presenter.ShowMessage("Settings of " + JoinNames(report.Saved) +
                                          " successfully saved to registry.\nPress OK to continue",
                                      MessageIcon::Warning);
    return false;
}

void CPorticoDoc::OnImportFromFile(QWidget* window)
{
    QString path;
    if (!m_seams.Files.GetOpenFileName(
            window, QStringLiteral("Import Battle Net Server List"),
            {QStringLiteral("Battle Net Server List (*.xml)"), QStringLiteral("All Files (*)")},
            QStringLiteral("xml"), path))
        return;

    std::stringstream stream(std::ios::in | std::ios::out);
    std::string error;
    bool read = false;
    bool imported = false;
    // A parse that failed half-way has emptied the lists all the same: the view shows what
    // memory holds before anything is said.
    m_models.replaceAll([&] {
        read = ReadServerListFile(QFile::encodeName(path).toStdString(), stream, &error);
        imported = read && m_catalog.Parse(stream, &error);
    });
    // The lists now differ from the registry until they are saved.
    if (read)
        m_models.setModified(true);
    if (!error.empty())
        m_seams.Presenter.ShowMessage(error, MessageIcon::Warning);
    if (!imported)
        m_seams.Presenter.ShowMessage(kImportFailed, MessageIcon::Error);
}
