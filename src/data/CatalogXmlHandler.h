#pragma once

#include "data/XmlHandler.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>

class GameCatalog;
struct GameInfo;
struct ServerInfo;

// Turns the reader's events into games and servers of a catalogue. Errors are swallowed one
// element at a time, so that one bad element never stops the rest of the document.
class CatalogXmlHandler : public XmlHandler {
public:
    explicit CatalogXmlHandler(GameCatalog* catalog) : m_catalog(catalog) {}

    void OnElement(const std::string& name, const std::string& text,
                   const std::string& attributes) override;
    void OnStartElement(const std::string& name, const std::string& attributes) override;
    void OnEndElement(const std::string& name) override;

    // The text after the first double quote up to the last one (everything after a lone one).
    static std::string QuotedValue(const std::string& attributes);

private:
    enum State { None = -1, InGame = 0, InServer = 1 };

    void SetGameField(const std::string& name, const std::string& text);
    void SetServerField(const std::string& name, const std::string& text);
    void AddCurrentServer();
    // The first server of the current name in the current game, as a lookup by name finds it;
    // nullptr when there is none.
    ServerInfo* CurrentServer();
    std::size_t GameIndex(const GameInfo& game) const;

    std::string m_gameName;
    std::string m_serverName;
    int m_state = None;
    GameCatalog* m_catalog;
    // (game index, server name) -> index of the first server of that name, so that a big
    // server list file is not searched once per field. Lists only grow during a parse, so an
    // index stays right; m_serversBefore holds each list's size when the parse first met it.
    std::map<std::pair<std::size_t, std::string>, std::size_t> m_firstServer;
    std::map<std::size_t, std::size_t> m_serversBefore;
};
