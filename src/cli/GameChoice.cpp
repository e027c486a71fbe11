#include "cli/GameChoice.h"

#include "data/GameCatalog.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kAliases = {{
    {"Starcraft/Broodwar", "sc"},
    {"Diablo", "d2"},
    {"Warcraft III", "w3"},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}
} // namespace

GameInfo* GameChoice::Find(GameCatalog& catalog, std::string_view text)
{
    for (GameInfo& game : catalog) {
        const std::string alias = AliasOf(game);
        if (SameIgnoringCase(game.Name, text) || (!alias.empty() && SameIgnoringCase(alias, text)))
            return &game;
    }
    return nullptr;
}

std::string GameChoice::AliasOf(const GameInfo& game)
{
    for (const auto& [name, alias] : kAliases) {
        if (game.Name == name)
            return std::string(alias);
    }
    return {};
}

std::string GameChoice::Label(const GameInfo& game)
{
    const std::string alias = AliasOf(game);
    return alias.empty() ? game.Name : game.Name + " (" + alias + ")";
}
