#pragma once

#include "cli/ScriptRequest.h"
#include "data/GameCatalog.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class FileWriter;
class RegistryApi;

// The commands of the command-line mode, on the same catalogue, gateway lists and registry as
// the window. Every list is read from the registry, changed and written back in one run;
// a write follows the window's rules (nothing while Wine runs, no server without a host name).
class ScriptRunner {
public:
    // out takes what the command prints, err what went wrong; both must outlive the runner.
    ScriptRunner(RegistryApi& registry, FileWriter& files, std::ostream& out, std::ostream& err);

    // Carries out the request on the registry of the Wine prefix named, which is checked
    // first (none: the registry is the system's own). Returns the exit status (ExitStatus);
    // every failure has been told on err.
    int Run(const ScriptRequest& request, const std::optional<std::string>& prefix);

private:
    int List(const ScriptRequest& request);
    int Add(const ScriptRequest& request);
    int Remove(const ScriptRequest& request);
    int Import(const ScriptRequest& request);
    int Export(const ScriptRequest& request);

    // The steps shared by the commands; each returns 0, or the exit status of a failure that
    // it has told.
    int Convert(const char* what, const std::string& utf8, std::string& ansi);
    int Prepare();
    int Choose(const std::optional<std::string>& game);
    int Load(GameInfo& game);
    // Prepare, Choose, then Load each game chosen.
    int Gather(const std::optional<std::string>& game);
    int Save(const GameInfo& game);

    std::vector<const GameInfo*> Chosen() const;
    int Fail(int status, const std::string& message);
    // The installed games, in a sentence that names the prefix, or says "there" after one
    // that did.
    std::string Installed(bool there = false) const;
    std::string Where() const;

    RegistryApi& m_registry;
    FileWriter& m_files;
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<std::string> m_prefix;
    GameCatalog m_catalog;
    // Indices into m_catalog, which an import makes grow.
    std::vector<std::size_t> m_installed;
    std::vector<std::size_t> m_chosen;
};
