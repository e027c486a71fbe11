#pragma once

#include "data/GameInfo.h"

#include <istream>
#include <string>
#include <vector>

// Why one game's list could not be read or written.
struct GameError {
    std::string GameName;
    std::string Reason;
};

struct SaveReport {
    std::vector<std::string> Saved;
    std::vector<GameError> Failed;
};

// Every known game, in the order of the catalogue document; records are never removed.
class GameCatalog {
public:
    using Container = std::vector<GameInfo>;

    // The first game of that name; nullptr when there is none.
    GameInfo* FindByName(const std::string& name);
    void AddGame(const std::string& name);

    // Reads a catalogue or server list document. On failure returns false and error holds what
    // to tell the user; what was read before the failure stays.
    bool Parse(std::istream& stream, std::string* error = nullptr);

    // Reads every game's list, stopping at the first installed game whose list cannot be read
    // (stoppedAt then names it). A game that is not installed and has no list is left empty.
    bool ReloadAll(RegistryApi& registry, GameError* stoppedAt = nullptr);

    // Writes every installed game's list; a game that fails does not stop the others.
    // The report names each game saved and each game not saved, with the reason.
    bool SaveAll(RegistryApi& registry, SaveReport* report = nullptr);

    std::size_t Size() const { return m_games.size(); }
    bool Empty() const { return m_games.empty(); }
    GameInfo& operator[](std::size_t i) { return m_games[i]; }
    const GameInfo& operator[](std::size_t i) const { return m_games[i]; }
    Container::iterator begin() { return m_games.begin(); }
    Container::iterator end() { return m_games.end(); }
    Container::const_iterator begin() const { return m_games.begin(); }
    Container::const_iterator end() const { return m_games.end(); }

private:
    Container m_games;
};
