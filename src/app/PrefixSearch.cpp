#include "app/PrefixSearch.h"

#include "data/GameCatalog.h"
#include "platform/WineRegistry.h"

PrefixSearch::PrefixSearch(WinePrefixFinder::Places places, const GameCatalog& catalog,
                           QObject* parent)
    : QObject(parent), m_places(std::move(places)), m_games(Games(catalog))
{
}

PrefixSearch::~PrefixSearch()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<PrefixSearch::Entry> PrefixSearch::Run(const WinePrefixFinder::Places& places,
                                                   const GameCatalog& catalog,
                                                   std::chrono::milliseconds budget,
                                                   bool untilAGame)
{
    std::vector<Entry> entries;
    Search(places, Games(catalog), WinePrefixFinder::Clock::now() + budget, nullptr,
           [&entries, untilAGame](Entry entry) {
               const bool go = !untilAGame || entry.Games.empty();
               entries.push_back(std::move(entry));
               return go;
           });
    return entries;
}

void PrefixSearch::start()
{
    if (m_running)
        return;
    m_running = true;
    m_thread = std::thread([this] {
        const bool complete =
            Search(m_places, m_games, WinePrefixFinder::Clock::now() + kInBackground, &m_stop,
                   [this](Entry entry) {
                       QMetaObject::invokeMethod(
                           this, [this, entry] { emit prefixFound(entry); }, Qt::QueuedConnection);
                       return true;
                   });
        QMetaObject::invokeMethod(
            this,
            [this, complete] {
                m_running = false;
                emit finished(complete);
            },
            Qt::QueuedConnection);
    });
}

std::vector<GameInfo> PrefixSearch::Games(const GameCatalog& catalog)
{
    std::vector<GameInfo> games(catalog.begin(), catalog.end());
    // Only the names and the installation keys are needed.
    for (GameInfo& game : games)
        game.Servers.Clear();
    return games;
}

bool PrefixSearch::Search(const WinePrefixFinder::Places& places,
                          const std::vector<GameInfo>& games,
                          WinePrefixFinder::Clock::time_point deadline,
                          const std::atomic<bool>* stop, const std::function<bool(Entry)>& found)
{
    WinePrefixFinder::Result result = WinePrefixFinder::Find(places, deadline, stop);
    for (WinePrefixFinder::Found& prefix : result.Prefixes) {
        if ((stop != nullptr && *stop) || WinePrefixFinder::Clock::now() >= deadline)
            return false;
        WineRegistry registry(prefix.Path);
        Entry entry{std::move(prefix.Path), std::move(prefix.Launcher), {}};
        for (const GameInfo& game : games) {
            if (game.IsInstalled(registry))
                entry.Games.push_back(game.Name);
        }
        if (!found(std::move(entry)))
            return false;
    }
    return result.Complete;
}
