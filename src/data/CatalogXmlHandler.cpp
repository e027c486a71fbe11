#include "data/CatalogXmlHandler.h"

#include "data/GameCatalog.h"
#include "data/Util.h"

#include <exception>

std::string CatalogXmlHandler::QuotedValue(const std::string& attributes)
{
    const auto first = attributes.find('"');
    if (first == std::string::npos)
        return {};
    const auto last = attributes.rfind('"');
    if (last == first)
        return attributes.substr(first + 1);
    return attributes.substr(first + 1, last - first - 1);
}

void CatalogXmlHandler::OnStartElement(const std::string& name, const std::string& attributes)
{
    if (name == "Game") {
        m_state = InGame;
        m_gameName = QuotedValue(attributes);
        m_catalog->AddGame(m_gameName);
    } else if (name == "Server") {
        m_state = InServer;
        m_serverName = QuotedValue(attributes);
        AddCurrentServer();
    }
}

void CatalogXmlHandler::OnElement(const std::string& name, const std::string& text,
                                  const std::string& /*attributes*/)
{
    try {
        if (m_state == InGame)
            SetGameField(name, text);
        else if (m_state == InServer)
            SetServerField(name, text);
    } catch (...) {
        // The field keeps its previous value; the rest of the document still counts.
    }
}

void CatalogXmlHandler::OnEndElement(const std::string& /*name*/)
{
}

void CatalogXmlHandler::SetGameField(const std::string& name, const std::string& text)
{
    GameInfo* found = m_catalog->FindByName(m_gameName);
    if (found == nullptr)
        return;
    GameInfo& game = *found;
    if (name == "Version")
        game.Version = text;
    else if (name == "Patch")
        game.Patch = text;
    else if (name == "ImageIndex")
        game.ImageIndex = Util::DecimalValue(text);
    else if (name == "HKEYTYPE_BNET_CONFIG")
        game.BnetConfigRoot = Util::ConvertStringToHKEY(text);
    else if (name == "HKEY_BNET_CONFIG")
        game.BnetConfigKey = text;
    else if (name == "HSUBKEY_BNET_CONFIG")
        game.BnetConfigValueName = text;
    else if (name == "HKEYTYPE_EXE_LOCATION")
        game.ExeLocationRoot = Util::ConvertStringToHKEY(text);
    else if (name == "HKEY_EXE_LOCATION")
        game.ExeLocationKey = text;
    else if (name == "HSUBKEY_EXE_LOCATION")
        game.ExeLocationValueName = text;
}

std::size_t CatalogXmlHandler::GameIndex(const GameInfo& game) const
{
    return static_cast<std::size_t>(&game - &(*m_catalog)[0]);
}

void CatalogXmlHandler::AddCurrentServer()
{
    GameInfo* found = m_catalog->FindByName(m_gameName);
    // A server outside every game adds nothing.
    if (found == nullptr)
        return;
    GameInfo& game = *found;
    const std::size_t gameIndex = GameIndex(game);
    const std::size_t before =
        m_serversBefore.try_emplace(gameIndex, game.Servers.Size()).first->second;
    game.Servers.AddServer(m_serverName);

    // The first server of a name is one this parse added, unless the list held it before.
    const auto key = std::make_pair(gameIndex, m_serverName);
    if (m_firstServer.count(key) == 0) {
        std::size_t first = game.Servers.Size() - 1;
        for (std::size_t i = 0; i < before; ++i) {
            if (game.Servers[i].Name == m_serverName) {
                first = i;
                break;
            }
        }
        m_firstServer.emplace(key, first);
    }
}

ServerInfo* CatalogXmlHandler::CurrentServer()
{
    GameInfo* game = m_catalog->FindByName(m_gameName);
    if (game == nullptr)
        return nullptr;
    auto known = m_firstServer.find(std::make_pair(GameIndex(*game), m_serverName));
    if (known == m_firstServer.end())
        return game->Servers.FindByName(m_serverName);
    return &game->Servers[known->second];
}

void CatalogXmlHandler::SetServerField(const std::string& name, const std::string& text)
{
    ServerInfo* server = CurrentServer();
    if (server == nullptr)
        return;
    if (name == "TimeZone")
        server->TimeZone = text;
    else if (name == "Hostname")
        server->Hostname = text;
}
