#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <string>

class GameCatalog;
class ServerList;
struct ServerInfo;

// One game's server list as the list view shows it: row i is the i-th server of the list, in
// list order, and the model is the only way the windows change the list, so that rows and
// servers never part. Over no game it is an empty list that takes no rows.
class ServerListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColumnName, ColumnHost, ColumnTimeZone, ColumnPing, ColumnStatus, ColumnCount };
    static constexpr std::size_t kNoGame = static_cast<std::size_t>(-1);

    ServerListModel(GameCatalog& catalog, std::size_t gameIndex, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The list shown; nullptr over no game.
    ServerList* servers() const;
    const ServerInfo& server(int row) const;

    // A new server at the end, with empty ping and status texts.
    void addServer(const std::string& name, const std::string& timeZone,
                   const std::string& hostname);
    // New name, host name and time zone for the server of that row; its ping and status stay.
    void setServer(int row, const std::string& name, const std::string& hostname,
                   const std::string& timeZone);
    void removeServer(int row);
    void clear();
    // What the server of that row answered to a ping: its ping and status texts.
    void setPingResult(int row, const std::string& pingTime, const std::string& status);

    // Around a change that replaces the whole list behind the model's back (reload, import):
    // views and held rows forget the rows of before.
    void beginReplace();
    void endReplace();

private:
    GameCatalog& m_catalog;
    std::size_t m_gameIndex;
};
