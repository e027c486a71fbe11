#include "doc/ServerListModels.h"

#include "data/GameCatalog.h"
#include "doc/ServerListModel.h"

ServerListModels::ServerListModels(GameCatalog& catalog, QObject* parent)
    : QObject(parent), m_catalog(catalog),
      m_noGame(new ServerListModel(catalog, ServerListModel::kNoGame, this))
{
}

ServerListModel& ServerListModels::forGame(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_catalog.Size())
        return *m_noGame;
    const auto game = static_cast<std::size_t>(index);
    while (m_models.size() <= game) {
        m_models.push_back(new ServerListModel(m_catalog, m_models.size(), this));
        watch(*m_models.back());
    }
    return *m_models[game];
}

void ServerListModels::replaceAll(const std::function<void()>& change)
{
    m_replacing = true;
    for (ServerListModel* model : m_models)
        model->beginReplace();
    change();
    for (ServerListModel* model : m_models)
        model->endReplace();
    m_replacing = false;
}

void ServerListModels::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void ServerListModels::watch(ServerListModel& model)
{
    const auto edited = [this] {
        if (!m_replacing)
            setModified(true);
    };
    connect(&model, &QAbstractItemModel::rowsInserted, this, edited);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, edited);
    connect(&model, &QAbstractItemModel::modelReset, this, edited);
    // Ping times and status are measured, not edited, and are never saved.
    connect(&model, &QAbstractItemModel::dataChanged, this, [edited](const QModelIndex& topLeft) {
        if (topLeft.column() <= ServerListModel::ColumnTimeZone)
            edited();
    });
}
