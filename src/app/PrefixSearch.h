#pragma once

#include "data/GameInfo.h"
#include "platform/WinePrefixFinder.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class GameCatalog;

// Finds the user's Wine prefixes and which of the catalogue's games each holds: at once, or
// off the GUI thread with each prefix announced as it is tested.
class PrefixSearch : public QObject {
    Q_OBJECT

public:
    struct Entry {
        std::string Path;
        std::string Launcher;
        // The names of the games installed there, in catalogue order.
        std::vector<std::string> Games;
    };

    // How long a search may take before the window shows, and after.
    static constexpr std::chrono::milliseconds kBeforeWindow{2000};
    static constexpr std::chrono::milliseconds kInBackground{20000};

    // The games are copied, so that the catalogue may change while the search runs.
    PrefixSearch(WinePrefixFinder::Places places, const GameCatalog& catalog,
                 QObject* parent = nullptr);
    // Stops the search and waits for it.
    ~PrefixSearch() override;

    // Every prefix found within the time, each tested for the games; with untilAGame, only
    // those up to the first that holds a game.
    static std::vector<Entry> Run(const WinePrefixFinder::Places& places,
                                  const GameCatalog& catalog, std::chrono::milliseconds budget,
                                  bool untilAGame = false);

    // Runs on a thread of its own: prefixFound for each prefix, then finished.
    void start();
    bool isRunning() const { return m_running; }

signals:
    void prefixFound(const PrefixSearch::Entry& entry);
    // complete is false when the time ran out before every place was looked at.
    void finished(bool complete);

private:
    static std::vector<GameInfo> Games(const GameCatalog& catalog);
    // found says whether to go on. False when the search ended early.
    static bool Search(const WinePrefixFinder::Places& places, const std::vector<GameInfo>& games,
                       WinePrefixFinder::Clock::time_point deadline, const std::atomic<bool>* stop,
                       const std::function<bool(Entry)>& found);

    WinePrefixFinder::Places m_places;
    std::vector<GameInfo> m_games;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    std::thread m_thread;
};
