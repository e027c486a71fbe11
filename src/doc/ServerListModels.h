#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <vector>

class GameCatalog;
class ServerListModel;

// The model of each game's list, made when first asked for and kept for the life of the
// window, so that rows held across a change of game still name their servers. Also knows
// whether the lists were edited since they were last loaded or saved.
class ServerListModels : public QObject {
    Q_OBJECT

public:
    explicit ServerListModels(GameCatalog& catalog, QObject* parent = nullptr);

    // The model of the game at that catalogue index; an empty one for -1 or past the catalogue.
    ServerListModel& forGame(std::int32_t index);

    // Runs a change that replaces whole lists (reload, import, the first load), with every
    // model told before and after.
    // Whatever the change does, it is not an edit: the caller says what the lists are then.
    void replaceAll(const std::function<void()>& change);

    // Whether a server was added, changed or removed, or a list cleared, since the lists were
    // last loaded or saved.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

signals:
    void modifiedChanged(bool modified);

private:
    void watch(ServerListModel& model);

    GameCatalog& m_catalog;
    std::vector<ServerListModel*> m_models;
    ServerListModel* m_noGame;
    bool m_replacing = false;
    bool m_modified = false;
};
