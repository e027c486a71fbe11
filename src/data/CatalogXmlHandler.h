#pragma once

#include "data/XmlHandler.h"

#include <string>

class GameCatalog;

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

    std::string m_gameName;
    std::string m_serverName;
    int m_state = None;
    GameCatalog* m_catalog;
};
