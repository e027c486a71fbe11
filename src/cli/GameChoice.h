#pragma once

#include <string>
#include <string_view>

class GameCatalog;
struct GameInfo;

// The games as the command line names them: by the catalogue's name or by a short alias
// ("sc", "d2", "w3"), either without regard to case.
class GameChoice {
public:
    // The first record of the catalogue that the text names; nullptr when none.
    static GameInfo* Find(GameCatalog& catalog, std::string_view text);
    // The game's alias; empty for a game that has none.
    static std::string AliasOf(const GameInfo& game);
    // "Warcraft III (w3)", or the name alone without an alias.
    static std::string Label(const GameInfo& game);
};
