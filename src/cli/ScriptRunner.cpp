#include "cli/ScriptRunner.h"

#include "app/AppStartup.h"
#include "cli/ExitStatus.h"
#include "cli/FileWriter.h"
#include "cli/GameChoice.h"
#include "cli/ListFormatter.h"
#include "cli/ServerListWriter.h"
#include "cli/WinePrefixCheck.h"
#include "data/CodePageText.h"
#include "data/ErrorCodes.h"
#include "data/RegistryError.h"
#include "data/ServerListFile.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace {
std::string Joined(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : ", ") + text;
    return joined;
}
} // namespace

ScriptRunner::ScriptRunner(RegistryApi& registry, FileWriter& files, std::ostream& out,
                           std::ostream& err)
    : m_registry(registry), m_files(files), m_out(out), m_err(err)
{
}

int ScriptRunner::Run(const ScriptRequest& request, const std::optional<std::string>& prefix)
{
    m_prefix = prefix;
    switch (request.Action) {
    case ScriptRequest::Command::List:
        return List(request);
    case ScriptRequest::Command::Add:
        return Add(request);
    case ScriptRequest::Command::Remove:
        return Remove(request);
    case ScriptRequest::Command::Import:
        return Import(request);
    case ScriptRequest::Command::Export:
        break;
    }
    return Export(request);
}

int ScriptRunner::List(const ScriptRequest& request)
{
    if (const int status = Gather(request.Game); status != 0)
        return status;
    const std::vector<const GameInfo*> games = Chosen();
    m_out << (request.OutputFormat == ScriptRequest::Format::Json ? ListFormatter::Json(games)
                                                                  : ListFormatter::Text(games));
    m_out.flush();
    if (!m_out)
        return Fail(ExitStatus::WriteFailed, "The list could not be written out.");
    return ExitStatus::Done;
}

int ScriptRunner::Add(const ScriptRequest& request)
{
    std::string name;
    std::string host;
    std::string zone;
    if (const int status = Convert("server name", request.Name, name); status != 0)
        return status;
    if (const int status = Convert("host name", request.Host, host); status != 0)
        return status;
    if (const int status = Convert("time zone", request.Zone, zone); status != 0)
        return status;
    if (const int status = Gather(request.Game); status != 0)
        return status;
    GameInfo& game = m_catalog[m_chosen.front()];

    if (ServerInfo* existing = game.Servers.FindByName(name)) {
        if (!request.Replace)
            return Fail(ExitStatus::Usage, game.Name + " already has a server named '" +
                                               request.Name +
                                               "'. Choose another name, or replace that server "
                                               "with --replace.");
        existing->Hostname = host;
        existing->TimeZone = zone;
    } else {
        game.Servers.AddServer(name, zone, host);
    }
    return Save(game);
}

int ScriptRunner::Remove(const ScriptRequest& request)
{
    std::string name;
    if (const int status = Convert("server name", request.Name, name); status != 0)
        return status;
    if (const int status = Gather(request.Game); status != 0)
        return status;
    GameInfo& game = m_catalog[m_chosen.front()];
    if (!game.Servers.RemoveByName(name))
        return Fail(ExitStatus::NotFound,
                    game.Name + " has no server named '" + request.Name + "'.");
    return Save(game);
}

int ScriptRunner::Import(const ScriptRequest& request)
{
    std::error_code ignored;
    if (!std::filesystem::exists(request.File, ignored))
        return Fail(ExitStatus::NotFound, "The file '" + request.File + "' does not exist.");
    if (const int status = Prepare(); status != 0)
        return status;
    if (m_installed.empty())
        return Fail(ExitStatus::NotFound, Installed());
    // The lists are read first for their header strings, which the games own and the
    // import keeps.
    for (const std::size_t index : m_installed) {
        if (const int status = Load(m_catalog[index]); status != 0)
            return status;
    }

    const std::size_t catalogued = m_catalog.Size();
    std::stringstream stream(std::ios::in | std::ios::out);
    std::string error;
    if (!ReadServerListFile(request.File, stream, &error) || !m_catalog.Parse(stream, &error))
        return Fail(ExitStatus::Usage,
                    "The file '" + request.File + "' cannot be imported:\n" + error);

    // Each game of the file is one more record; the games that it does not name keep their
    // lists in the registry.
    std::vector<std::size_t> imported;
    std::vector<std::string> named;
    for (std::size_t index = catalogued; index < m_catalog.Size(); ++index) {
        const std::string& name = m_catalog[index].Name;
        if (std::find(named.begin(), named.end(), name) != named.end())
            continue;
        named.push_back(name);
        const GameInfo* game = m_catalog.FindByName(name);
        const auto at = static_cast<std::size_t>(game - &m_catalog[0]);
        if (at >= catalogued)
            m_err << "portico: warning: the file names a game that Portico does not know, '"
                  << CodePageText::Printable(name) << "'; its servers are left out.\n";
        else if (std::find(m_installed.begin(), m_installed.end(), at) == m_installed.end())
            m_err << "portico: warning: " << name << " is not installed in " << Where()
                  << "; its servers are left out.\n";
        else
            imported.push_back(at);
    }
    std::sort(imported.begin(), imported.end());
    if (imported.empty())
        return Fail(ExitStatus::NotFound, "The file '" + request.File +
                                              "' holds no server list of a game installed in " +
                                              Where() + ".");
    for (const std::size_t index : imported) {
        if (const std::string problem = m_catalog[index].StorageProblem(); !problem.empty())
            return Fail(ExitStatus::Usage, "The file '" + request.File +
                                               "' cannot be imported: " + m_catalog[index].Name +
                                               ": " + CodePageText::Printable(problem) +
                                               " Nothing was imported.");
    }

    std::vector<std::string> saved;
    for (const std::size_t index : imported) {
        if (const int status = Save(m_catalog[index]); status != 0) {
            if (!saved.empty())
                m_err << "portico: " << Joined(saved) << " had been saved before.\n";
            return status;
        }
        saved.push_back(m_catalog[index].Name);
    }
    return ExitStatus::Done;
}

int ScriptRunner::Export(const ScriptRequest& request)
{
    if (const int status = Gather(request.Game); status != 0)
        return status;
    const std::vector<const GameInfo*> games = Chosen();
    std::string file;
    std::string problem;
    if (!ServerListWriter::Write(games, file, &problem))
        return Fail(ExitStatus::WriteFailed, problem + " Nothing was exported.");

    if (request.File.empty() || request.File == "-") {
        m_out << file;
        m_out.flush();
        if (!m_out)
            return Fail(ExitStatus::WriteFailed, "The server list could not be written out.");
    } else if (const int error = m_files.Replace(request.File, file); error != 0) {
        return Fail(ExitStatus::WriteFailed,
                    "The file '" + request.File +
                        "' could not be written: " + std::generic_category().message(error) + ".");
    }
    return ExitStatus::Done;
}

int ScriptRunner::Convert(const char* what, const std::string& utf8, std::string& ansi)
{
    if (utf8.empty())
        return Fail(ExitStatus::Usage, std::string("The ") + what + " is empty.");
    std::string problem;
    if (!CodePageText::FromUtf8(utf8, ansi, &problem))
        return Fail(ExitStatus::Usage, std::string("The ") + what + " '" + utf8 + "' holds " +
                                           problem +
                                           ", which the games' code page (Windows-1252) "
                                           "cannot hold.");
    return 0;
}

int ScriptRunner::Prepare()
{
    if (m_prefix) {
        if (const std::string problem = WinePrefixCheck::Problem(*m_prefix); !problem.empty())
            return Fail(ExitStatus::NotFound, problem);
    }
    std::string error;
    if (!AppStartup::LoadCatalog(m_catalog, &error))
        return Fail(ExitStatus::WriteFailed, error);
    for (std::size_t index = 0; index < m_catalog.Size(); ++index) {
        if (m_catalog[index].IsInstalled(m_registry))
            m_installed.push_back(index);
    }
    return 0;
}

int ScriptRunner::Gather(const std::optional<std::string>& game)
{
    if (const int status = Prepare(); status != 0)
        return status;
    if (const int status = Choose(game); status != 0)
        return status;
    for (const std::size_t index : m_chosen) {
        if (const int status = Load(m_catalog[index]); status != 0)
            return status;
    }
    return 0;
}

std::vector<const GameInfo*> ScriptRunner::Chosen() const
{
    std::vector<const GameInfo*> games;
    for (const std::size_t index : m_chosen)
        games.push_back(&m_catalog[index]);
    return games;
}

int ScriptRunner::Choose(const std::optional<std::string>& name)
{
    if (!name) {
        if (m_installed.empty())
            return Fail(ExitStatus::NotFound, Installed());
        m_chosen = m_installed;
        return 0;
    }
    const GameInfo* game = GameChoice::Find(m_catalog, *name);
    if (game == nullptr)
        return Fail(ExitStatus::NotFound, "There is no game '" + *name + "'. " + Installed());
    const auto index = static_cast<std::size_t>(game - &m_catalog[0]);
    if (std::find(m_installed.begin(), m_installed.end(), index) == m_installed.end())
        return Fail(ExitStatus::NotFound,
                    game->Name + " is not installed in " + Where() + ". " + Installed(true));
    m_chosen = {index};
    return 0;
}

int ScriptRunner::Load(GameInfo& game)
{
    try {
        game.LoadGateways(m_registry);
        return 0;
    } catch (const RegistryError& e) {
        // A game that has never been given a list has no key for it yet.
        if (e.Code() == static_cast<RegStatus>(ErrorCode::FileNotFound))
            return 0;
        return Fail(ExitStatus::WriteFailed,
                    "The server list of " + game.Name + " could not be read: " + e.what());
    }
}

int ScriptRunner::Save(const GameInfo& game)
{
    std::string reason;
    RegStatus status = 0;
    if (game.SaveGateways(m_registry, &reason, &status))
        return 0;
    return Fail(status == static_cast<RegStatus>(ErrorCode::WineServerRunning)
                    ? ExitStatus::WineRunning
                    : ExitStatus::WriteFailed,
                game.Name + " was not saved: " + CodePageText::Printable(reason));
}

int ScriptRunner::Fail(int status, const std::string& message)
{
    m_err << "portico: " << message << "\n";
    m_err.flush();
    return status;
}

std::string ScriptRunner::Installed(bool there) const
{
    std::vector<std::string> labels;
    for (const std::size_t index : m_installed)
        labels.push_back(GameChoice::Label(m_catalog[index]));
    const std::string where = there ? "there" : "in " + Where();
    if (labels.empty())
        return "No game is installed " + where + ".";
    return "Installed " + where + ": " + Joined(labels) + ".";
}

std::string ScriptRunner::Where() const
{
    return m_prefix ? "the Wine prefix '" + *m_prefix + "'" : "the registry";
}
