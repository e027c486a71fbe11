#pragma once

#include "TempDir.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// A Wine prefix of its own for one test, in a fresh temporary folder that WINEPREFIX and HOME
// point at while it lives. The test says which games are installed and what their gateway
// lists hold; Write() puts user.reg and system.reg in place, as Wine would read them.
class TempWinePrefix {
public:
    enum class Game { Starcraft, Diablo, Warcraft };

    struct Gateway {
        std::string Hostname;
        std::string TimeZone;
        std::string Name;
    };

    TempWinePrefix();
    ~TempWinePrefix();
    TempWinePrefix(const TempWinePrefix&) = delete;
    TempWinePrefix& operator=(const TempWinePrefix&) = delete;

    std::string Path() const { return m_dir.Path().string(); }

    // The game's installation key, with its "Program" value.
    void Install(Game game);
    // The game's gateway list value: "1001", the count, then the servers (8-bit ANSI texts).
    void SetGateways(Game game, const std::vector<Gateway>& servers);
    void Write() const;
    // The same registry files in another folder, which must exist.
    void WriteTo(const std::string& folder) const;

    std::string ReadFile(const std::string& name) const;

private:
    using Values = std::map<std::string, std::string>;
    // Key path (as written in the file) to value lines, per hive.
    std::map<std::string, Values> m_user;
    std::map<std::string, Values> m_system;
    TempDir m_dir;
    std::optional<std::string> m_savedPrefix;
    std::optional<std::string> m_savedHome;
};
