#pragma once

#include <QObject>

#include <cstdint>

class GameCatalog;
struct GameInfo;

// Which game of the catalogue the user works on. The frame changes it; the view and the
// commands follow it.
class GameSelection : public QObject {
    Q_OBJECT

public:
    explicit GameSelection(GameCatalog& catalog, QObject* parent = nullptr);

    std::int32_t index() const { return m_nSelectedGame; }
    // The selected game; nullptr while none is selected, so nothing reads past the catalogue.
    GameInfo* game() const;

    // Announces the choice even when it does not change: choosing a game again refreshes.
    void select(std::int32_t index);

signals:
    void selectedGameChanged(std::int32_t index);

private:
    GameCatalog& m_catalog;
    // -1 while no game is selected.
    std::int32_t m_nSelectedGame = -1;
};
