#include "data/GameCatalog.h"

#include "data/CatalogXmlHandler.h"
#include "data/Util.h"
#include "data/XmlReader.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <stdexcept>

GameInfo* GameCatalog::FindByName(const std::string& name)
{
    auto it = std::find_if(m_games.begin(), m_games.end(),
                           [&](const GameInfo& game) { return game.Name == name; });
    return it == m_games.end() ? nullptr : &*it;
}

void GameCatalog::AddGame(const std::string& name)
{
    m_games.emplace_back(name);
}

bool GameCatalog::Parse(std::istream& stream, std::string* error)
{
    try {
        CatalogXmlHandler handler(this);
        for (GameInfo& game : m_games)
            game.Servers.Clear();

        const std::string text{std::istreambuf_iterator<char>(stream),
                               std::istreambuf_iterator<char>()};
        // The last character is the NUL that a server list file gets, or the final line feed.
        const std::size_t length = std::min<std::size_t>(text.empty() ? 0 : text.size() - 1,
                                                         std::numeric_limits<std::int32_t>::max());
        XmlReader reader;
        reader.SetHandler(&handler);
        reader.Parse(text.data(), static_cast<std::int32_t>(length));
        return true;
    } catch (...) {
        if (error != nullptr)
            *error = Util::DescribeCurrentException();
    }
    return false;
}

bool GameCatalog::ReloadAll(RegistryApi& registry, GameError* stoppedAt)
{
    for (GameInfo& game : m_games) {
        try {
            game.LoadGateways(registry);
        } catch (const std::exception& e) {
            // A game that is not installed may well have no list key; its list stays empty
            // and the games after it are still reloaded.
            if (!game.IsInstalled(registry))
                continue;
            if (stoppedAt != nullptr)
                *stoppedAt = {game.Name, e.what()};
            return false;
        } catch (...) {
            if (stoppedAt != nullptr)
                *stoppedAt = {game.Name, "Exception: Unknown"};
            return false;
        }
    }
    return true;
}

bool GameCatalog::SaveAll(RegistryApi& registry, SaveReport* report)
{
    SaveReport local;
    SaveReport& out = report != nullptr ? *report : local;
    for (GameInfo& game : m_games) {
        try {
            if (!game.IsInstalled(registry))
                continue;
            std::string reason;
            if (game.SaveGateways(registry, &reason))
                out.Saved.push_back(game.Name);
            else
                out.Failed.push_back({game.Name, reason});
        } catch (const std::exception& e) {
            out.Failed.push_back({game.Name, e.what()});
            return false;
        } catch (...) {
            out.Failed.push_back({game.Name, "Exception: Unknown"});
            return false;
        }
    }
    return true;
}
