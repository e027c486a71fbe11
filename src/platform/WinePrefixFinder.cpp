#include "platform/WinePrefixFinder.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <yaml-cpp/yaml.h>

#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {
// Launchers' configuration files are small; anything larger is not one of theirs.
constexpr qint64 kMaxConfigSize = 1 << 20;

// The folders directly inside dir, or none when it cannot be read.
std::vector<fs::path> SubFolders(const fs::path& dir)
{
    std::vector<fs::path> folders;
    std::error_code error;
    fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored))
            folders.push_back(it->path());
    }
    return folders;
}

// The regular files directly inside dir whose names end with one of the extensions.
std::vector<fs::path> FilesIn(const fs::path& dir, std::initializer_list<const char*> extensions)
{
    std::vector<fs::path> files;
    std::error_code error;
    fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (!it->is_regular_file(ignored))
            continue;
        for (const char* extension : extensions) {
            if (it->path().extension() == extension)
                files.push_back(it->path());
        }
    }
    return files;
}

class Search {
public:
    Search(const WinePrefixFinder::Places& places, WinePrefixFinder::Clock::time_point deadline,
           const std::atomic<bool>* stop)
        : m_home(places.Home), m_deadline(deadline), m_stop(stop)
    {
    }

    bool Over()
    {
        if ((m_stop != nullptr && m_stop->load()) || WinePrefixFinder::Clock::now() >= m_deadline)
            m_result.Complete = false;
        return !m_result.Complete;
    }

    // A prefix named by a place is labelled with that place until a launcher claims it.
    void Candidate(const fs::path& path, const std::string& launcher, bool named = false)
    {
        if (Over() || !WinePrefixFinder::IsPrefix(path.string()))
            return;
        std::error_code error;
        const std::string resolved = fs::canonical(path, error).string();
        if (error)
            return;
        const auto [seen, added] = m_seen.emplace(resolved, m_result.Prefixes.size());
        if (added)
            m_result.Prefixes.push_back({resolved, launcher});
        else if (!named && m_named.erase(resolved) > 0)
            m_result.Prefixes[seen->second].Launcher = launcher;
        if (added && named)
            m_named.insert(resolved);
    }

    // Every folder directly inside dir, or the folder below each of them, as a prefix.
    void Inside(const fs::path& dir, const std::string& launcher, const char* below = nullptr)
    {
        if (m_home.empty() || Over())
            return;
        for (const fs::path& folder : SubFolders(m_home / dir))
            Candidate(below == nullptr ? folder : folder / below, launcher);
    }

    // Lutris keeps one YAML file per game; a Wine game names its prefix as game: prefix:.
    void LutrisConfigs(const fs::path& dir)
    {
        if (m_home.empty())
            return;
        for (const fs::path& file : FilesIn(m_home / dir, {".yml", ".yaml"})) {
            if (Over())
                return;
            std::error_code error;
            if (fs::file_size(file, error) > kMaxConfigSize || error)
                continue;
            try {
                const YAML::Node config = YAML::LoadFile(file.string());
                if (!config.IsMap())
                    continue;
                const YAML::Node game = config["game"];
                if (!game.IsMap())
                    continue;
                const YAML::Node prefix = game["prefix"];
                if (prefix.IsScalar())
                    Candidate(Expand(prefix.as<std::string>()), "Lutris");
            } catch (const YAML::Exception&) {
                // Not valid YAML, or not readable: not a configuration to go by.
            }
        }
    }

    // Heroic keeps one JSON file per game, holding an object named after the game with its
    // winePrefix. Under Proton the prefix proper is its pfx folder.
    void HeroicConfigs(const fs::path& dir)
    {
        if (m_home.empty())
            return;
        for (const fs::path& file : FilesIn(m_home / dir, {".json"})) {
            if (Over())
                return;
            QFile json(QString::fromStdString(file.string()));
            if (json.size() > kMaxConfigSize || !json.open(QIODevice::ReadOnly))
                continue;
            const QJsonDocument document = QJsonDocument::fromJson(json.readAll());
            const QJsonObject games = document.object();
            for (auto it = games.begin(); it != games.end(); ++it) {
                const QJsonValue prefix = it.value().toObject().value(QStringLiteral("winePrefix"));
                if (!prefix.isString())
                    continue;
                const fs::path path = Expand(prefix.toString().toStdString());
                Candidate(path, "Heroic");
                Candidate(path / "pfx", "Heroic");
            }
        }
    }

    WinePrefixFinder::Result Take() { return std::move(m_result); }

private:
    // A leading ~ stands for the home, as the launchers write it.
    fs::path Expand(const std::string& path) const
    {
        if (path == "~")
            return m_home;
        if (path.rfind("~/", 0) == 0)
            return m_home / path.substr(2);
        return path;
    }

    fs::path m_home;
    WinePrefixFinder::Clock::time_point m_deadline;
    const std::atomic<bool>* m_stop;
    // Each prefix found, with its place in the result.
    std::map<std::string, std::size_t> m_seen;
    // The prefixes that no launcher has claimed yet.
    std::set<std::string> m_named;
    WinePrefixFinder::Result m_result;
};
} // namespace

WinePrefixFinder::Result WinePrefixFinder::Find(const Places& places, Clock::time_point deadline,
                                                const std::atomic<bool>* stop)
{
    Search search(places, deadline, stop);
    // The named places first, so that a short deadline still finds them.
    for (const auto& [path, label] : places.Named)
        search.Candidate(path, label, true);
    if (!places.Home.empty())
        search.Candidate(fs::path(places.Home) / ".wine", "Wine", true);
    search.LutrisConfigs(".config/lutris/games");
    search.LutrisConfigs(".local/share/lutris/games");
    search.Inside("Games", "Lutris");
    search.Inside(".local/share/bottles/bottles", "Bottles");
    search.Inside(".var/app/com.usebottles.bottles/data/bottles/bottles", "Bottles (Flatpak)");
    search.Inside(".PlayOnLinux/wineprefix", "PlayOnLinux");
    search.Inside(".cxoffice", "CrossOver");
    search.Inside("Games/Heroic/Prefixes", "Heroic");
    search.Inside("Games/Heroic/Prefixes", "Heroic", "pfx");
    search.HeroicConfigs(".config/heroic/GamesConfig");
    search.Inside(".steam/steam/steamapps/compatdata", "Steam (Proton)", "pfx");
    search.Inside(".local/share/Steam/steamapps/compatdata", "Steam (Proton)", "pfx");
    return search.Take();
}

bool WinePrefixFinder::IsPrefix(const std::string& path)
{
    std::error_code error;
    const fs::path folder(path);
    return fs::is_regular_file(folder / "system.reg", error) &&
           fs::is_regular_file(folder / "user.reg", error);
}
