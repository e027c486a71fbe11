#include "doc/GameSelection.h"

#include "data/GameCatalog.h"

GameSelection::GameSelection(GameCatalog& catalog, QObject* parent)
    : QObject(parent), m_catalog(catalog)
{
}

GameInfo* GameSelection::game() const
{
    if (m_nSelectedGame < 0 || static_cast<std::size_t>(m_nSelectedGame) >= m_catalog.Size())
        return nullptr;
    return &m_catalog[static_cast<std::size_t>(m_nSelectedGame)];
}

void GameSelection::select(std::int32_t index)
{
    m_nSelectedGame = index;
    emit selectedGameChanged(index);
}
