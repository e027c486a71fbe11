#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <vector>

class GameCatalog;
class ServerListModel;

// The model of each game's list, made when first asked for and kept for the life of the
// window, so that rows held across a change of game still name their servers.
class ServerListModels : public QObject {
    Q_OBJECT

public:
    explicit ServerListModels(GameCatalog& catalog, QObject* parent = nullptr);

    // The model of the game at that catalogue index; an empty one for -1 or past the catalogue.
    ServerListModel& forGame(std::int32_t index);

    // Runs a change that replaces whole lists (reload, import, the first load), with every
    // model told before and after.
    void replaceAll(const std::function<void()>& change);

private:
    GameCatalog& m_catalog;
    std::vector<ServerListModel*> m_models;
    ServerListModel* m_noGame;
};
