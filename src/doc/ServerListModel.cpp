#include "doc/ServerListModel.h"

#include "data/GameCatalog.h"
#include "dialogs/AnsiText.h"

#include <array>

namespace {
constexpr std::array<const char*, ServerListModel::ColumnCount> kHeaders = {
    "Servername", "Hostname", "TZ", "Ping (ms)", "Status"};

const std::string& Field(const ServerInfo& server, int column)
{
    switch (column) {
    case ServerListModel::ColumnName:
        return server.Name;
    case ServerListModel::ColumnHost:
        return server.Hostname;
    case ServerListModel::ColumnTimeZone:
        return server.TimeZone;
    case ServerListModel::ColumnPing:
        return server.PingTime;
    default:
        return server.Status;
    }
}
} // namespace

ServerListModel::ServerListModel(GameCatalog& catalog, std::size_t gameIndex, QObject* parent)
    : QAbstractTableModel(parent), m_catalog(catalog), m_gameIndex(gameIndex)
{
}

int ServerListModel::rowCount(const QModelIndex& parent) const
{
    const ServerList* list = servers();
    return parent.isValid() || list == nullptr ? 0 : static_cast<int>(list->Size());
}

int ServerListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ServerListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    // A status text is often longer than its column: the whole of it shows on hovering.
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == ColumnStatus))
        return AnsiText::ToQString(Field(server(index.row()), index.column()));
    return {};
}

QVariant ServerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[static_cast<std::size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

ServerList* ServerListModel::servers() const
{
    if (m_gameIndex >= m_catalog.Size())
        return nullptr;
    return &m_catalog[m_gameIndex].Servers;
}

const ServerInfo& ServerListModel::server(int row) const
{
    return (*servers())[static_cast<std::size_t>(row)];
}

void ServerListModel::addServer(const std::string& name, const std::string& timeZone,
                                const std::string& hostname)
{
    ServerList* list = servers();
    if (list == nullptr)
        return;
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    list->AddServer(name, timeZone, hostname);
    endInsertRows();
}

void ServerListModel::setServer(int row, const std::string& name, const std::string& hostname,
                                const std::string& timeZone)
{
    ServerInfo& entry = (*servers())[static_cast<std::size_t>(row)];
    entry.Name = name;
    entry.Hostname = hostname;
    entry.TimeZone = timeZone;
    emit dataChanged(index(row, ColumnName), index(row, ColumnTimeZone));
}

void ServerListModel::removeServer(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    servers()->RemoveAt(static_cast<std::size_t>(row));
    endRemoveRows();
}

void ServerListModel::setPingResult(int row, const std::string& pingTime, const std::string& status)
{
    ServerInfo& entry = (*servers())[static_cast<std::size_t>(row)];
    entry.PingTime = pingTime;
    entry.Status = status;
    emit dataChanged(index(row, ColumnPing), index(row, ColumnStatus));
}

void ServerListModel::clear()
{
    beginResetModel();
    if (ServerList* list = servers())
        list->Clear();
    endResetModel();
}

void ServerListModel::beginReplace()
{
    beginResetModel();
}

void ServerListModel::endReplace()
{
    endResetModel();
}
