#include "doc/CPorticoView.h"

#include "data/GameInfo.h"
#include "data/MessagePresenter.h"
#include "dialogs/AnsiText.h"
#include "dialogs/CPorticoEditServerDlg.h"
#include "dialogs/ServerDialogRunner.h"
#include "doc/CWaitCursor.h"
#include "doc/GameSelection.h"
#include "doc/Seams.h"
#include "doc/ServerListModel.h"
#include "doc/ServerListModels.h"
#include "net/PingAllRun.h"
#include "net/SocketApi.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPersistentModelIndex>

namespace {
constexpr char kNameExists[] = "The server name already exists. Please choose another name.";
} // namespace

CPorticoView::CPorticoView(GameSelection& selection, ServerListModels& models, SocketApi& sockets,
                           QMenu& contextMenu, const Seams& seams, QWidget* parent)
    : QTableView(parent), m_selection(selection), m_models(models), m_contextMenu(contextMenu),
      m_sockets(sockets), m_seams(seams)
{
    setObjectName(QStringLiteral("serverList"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    // Tab moves the focus on, as in any list; walking the cells would change the selected row.
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    // Rows one line of text high, as in a report list; the table default is twice that.
    const int rowHeight = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    // The list is never sorted: the header's buttons do nothing.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The status column fills what is left of the width.
    horizontalHeader()->setStretchLastSection(true);
    // The selected row stays marked while the focus is elsewhere.
    QPalette selectionColours = palette();
    selectionColours.setColor(QPalette::Inactive, QPalette::Highlight,
                              selectionColours.color(QPalette::Active, QPalette::Highlight));
    selectionColours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                              selectionColours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(selectionColours);
}

// A run still going ends here, before the rows it writes to.
CPorticoView::~CPorticoView() = default;

void CPorticoView::OnInitialUpdate()
{
    connect(&m_selection, &GameSelection::selectedGameChanged, this, &CPorticoView::RefreshList);
    RefreshList();
}

void CPorticoView::RefreshList()
{
    CWaitCursor wait;
    const GameInfo* game = m_selection.game();
    emit titleChanged(game == nullptr ? QString()
                                      : AnsiText::ToQString(game->Name + " " + game->Version +
                                                            " (Patch: " + game->Patch + ")"));
    showList(m_models.forGame(game == nullptr ? -1 : m_selection.index()));
    AutoSizeColumns();
}

void CPorticoView::showList(ServerListModel& list)
{
    if (m_list == &list)
        return;
    if (m_list != nullptr)
        disconnect(m_list, nullptr, this, nullptr);
    QItemSelectionModel* previousSelection = selectionModel();
    m_list = &list;
    setModel(&list);
    delete previousSelection;

    const auto changed = [this] {
        AutoSizeColumns();
        emit commandStateChanged();
    };
    connect(&list, &QAbstractItemModel::rowsInserted, this, changed);
    connect(&list, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(&list, &QAbstractItemModel::modelReset, this, changed);
    connect(&list, &QAbstractItemModel::dataChanged, this, &CPorticoView::AutoSizeColumns);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CPorticoView::commandStateChanged);
    emit commandStateChanged();
}

ServerListModel& CPorticoView::listModel() const
{
    return m_list != nullptr ? *m_list : m_models.forGame(-1);
}

void CPorticoView::AutoSizeColumns()
{
    // The last column fills what is left of the width by itself.
    for (int column = 0; column < ServerListModel::ColumnStatus; ++column)
        resizeColumnToContents(column);
}

bool CPorticoView::HasSelection()
{
    if (selectionModel() == nullptr)
        return false;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return false;
    m_nSelectedRow = rows.constFirst().row();
    return true;
}

void CPorticoView::ReadSelectedRow(std::string& serverName, std::string& hostName,
                                   std::string& timeZone) const
{
    const ServerInfo& server = listModel().server(m_nSelectedRow);
    serverName = server.Name;
    hostName = server.Hostname;
    timeZone = server.TimeZone;
}

void CPorticoView::OnAddServer()
{
    GameInfo* game = m_selection.game();
    if (game == nullptr)
        return;
    CPorticoEditServerDlg dialog(m_seams.Presenter, this);
    // Until the name is free or the user gives up; the dialog keeps what was typed.
    while (m_seams.ServerDialog.Run(dialog) == CPorticoEditServerDlg::IDOK) {
        if (game->Servers.FindByName(dialog.m_strServerName) != nullptr) {
            m_seams.Presenter.ShowMessage(kNameExists, MessageIcon::Error);
            continue;
        }
        listModel().addServer(dialog.m_strServerName, dialog.m_strTimeZone, dialog.m_strHostName);
        return;
    }
}

void CPorticoView::OnEditServer()
{
    if (m_selection.game() == nullptr || !HasSelection())
        return;
    ServerListModel& list = listModel();
    // The server of this row, wherever the row is by the time the dialog closes.
    const QPersistentModelIndex row = list.index(m_nSelectedRow, 0);
    CPorticoEditServerDlg dialog(m_seams.Presenter, this);
    ReadSelectedRow(dialog.m_strServerName, dialog.m_strHostName, dialog.m_strTimeZone);
    if (m_seams.ServerDialog.Run(dialog) != CPorticoEditServerDlg::IDOK || !row.isValid())
        return;
    list.setServer(row.row(), dialog.m_strServerName, dialog.m_strHostName, dialog.m_strTimeZone);
}

void CPorticoView::OnDeleteServer()
{
    if (m_selection.game() == nullptr || !HasSelection())
        return;
    listModel().removeServer(m_nSelectedRow);
}

void CPorticoView::OnClearAll()
{
    if (m_selection.game() == nullptr)
        return;
    listModel().clear();
    RefreshList();
}

void CPorticoView::OnPingAllServers()
{
    if (m_pingRun != nullptr)
        return;
    ServerListModel& list = listModel();
    std::vector<PingAllRun::Target> targets;
    for (int row = 0; row < list.rowCount(); ++row) {
        m_pingedRows.push_back({&list, QPersistentModelIndex(list.index(row, 0))});
        targets.push_back({static_cast<qint64>(row), list.server(row)});
    }
    m_pingRun = std::make_unique<PingAllRun>(m_sockets, m_sockets.ErrorTexts(), std::move(targets));
    connect(m_pingRun.get(), &PingAllRun::resultReady, this, &CPorticoView::onPingResult);
    connect(m_pingRun.get(), &PingAllRun::progress, this, &CPorticoView::pingProgress);
    connect(m_pingRun.get(), &PingAllRun::finished, this, &CPorticoView::onPingFinished);
    emit commandStateChanged();
    emit pingProgress(0, m_pingRun->total());
    m_pingRun->start();
}

void CPorticoView::onPingResult(qint64 key, const std::string& pingTime, const std::string& status)
{
    const PingedRow& pinged = m_pingedRows[static_cast<std::size_t>(key)];
    // A row deleted, cleared, reloaded or imported over since the run began is gone.
    if (pinged.row.isValid())
        pinged.list->setPingResult(pinged.row.row(), pingTime, status);
}

void CPorticoView::onPingFinished()
{
    // The run is still delivering this signal: it goes once the signal has returned.
    m_pingRun.release()->deleteLater();
    m_pingedRows.clear();
    emit pingFinished();
    emit commandStateChanged();
}

void CPorticoView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        onRowActivate();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CPorticoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    // Only the left button's double-click opens a row, as in any list.
    if (event->button() == Qt::LeftButton)
        onRowActivate();
}

void CPorticoView::contextMenuEvent(QContextMenuEvent* event)
{
    m_contextMenu.popup(event->globalPos());
    event->accept();
}

QModelIndex CPorticoView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and last row, as in a list, not to the ends of a row.
    if (cursorAction == MoveHome || cursorAction == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(cursorAction, modifiers);
}

void CPorticoView::onRowActivate()
{
    if (HasSelection())
        OnEditServer();
}
