#pragma once

#include <string>
#include <vector>

struct GameInfo;

// The lists as `portico list` prints them, in UTF-8.
class ListFormatter {
public:
    // For people: each game's label, then its servers in aligned columns.
    static std::string Text(const std::vector<const GameInfo*>& games);
    // For scripts: an array with one object per game, {"game", "alias", "servers"}, each
    // server {"name", "host", "zone"}.
    static std::string Json(const std::vector<const GameInfo*>& games);
};
