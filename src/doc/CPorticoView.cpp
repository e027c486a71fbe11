#include "doc/CPorticoView.h"

#include "app/AnsiText.h"
#include "app/CCaptionBar.h"
#include "app/CPorticoApp.h"
#include "app/CWaitCursor.h"
#include "data/MessagePresenter.h"
#include "data/Services.h"
#include "dialogs/CPorticoEditServerDlg.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <stdexcept>

namespace {
constexpr char kNameExists[] = "The server name already exists. Please choose another name.";

// The first server of that name, or nullptr; the list's lookup throws when there is none.
ServerInfo* FindServer(ServerList& servers, const std::string& name)
{
    try {
        return &servers.FindByName(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}
} // namespace

CPorticoView::CPorticoView(CCaptionBar& captionBar, QMenu& contextMenu, QWidget* parent)
    : QTableWidget(parent), m_captionBar(captionBar), m_contextMenu(contextMenu),
      m_runDialog([](CPorticoEditServerDlg& dialog) { return dialog.DoModal(); })
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
    // The selected row stays marked while the focus is elsewhere.
    QPalette selection = palette();
    selection.setColor(QPalette::Inactive, QPalette::Highlight,
                       selection.color(QPalette::Active, QPalette::Highlight));
    selection.setColor(QPalette::Inactive, QPalette::HighlightedText,
                       selection.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(selection);
}

void CPorticoView::OnInitialUpdate()
{
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("Servername"), QStringLiteral("Hostname"),
                               QStringLiteral("TZ"), QStringLiteral("Ping (ms)"),
                               QStringLiteral("Status")});
    horizontalHeader()->setSectionResizeMode(ColumnStatus, QHeaderView::Stretch);
    RefreshList();
}

void CPorticoView::RefreshList()
{
    CWaitCursor wait;
    const GameInfo* game = theApp.GetSelectedGame();
    m_captionBar.SetText(game == nullptr ? QString()
                                         : AnsiText::ToQString(game->Name + " " + game->Version +
                                                               " (Patch: " + game->Patch + ")"));
    setRowCount(0);
    if (game != nullptr) {
        setRowCount(static_cast<int>(game->Servers.Size()));
        for (std::size_t i = 0; i < game->Servers.Size(); ++i)
            SetRow(static_cast<int>(i), game->Servers[i]);
    }
    AutoSizeColumns();
}

void CPorticoView::AutoSizeColumns()
{
    // The last column fills what is left of the width by itself.
    for (int column = 0; column < ColumnStatus; ++column)
        resizeColumnToContents(column);
}

bool CPorticoView::HasSelection()
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return false;
    m_nSelectedRow = rows.constFirst().row();
    return true;
}

void CPorticoView::ReadSelectedRow(std::string& serverName, std::string& hostName,
                                   std::string& timeZone) const
{
    const auto cell = [this](int column) {
        const QTableWidgetItem* item = this->item(m_nSelectedRow, column);
        return item == nullptr ? std::string() : AnsiText::FromQString(item->text());
    };
    serverName = cell(ColumnName);
    hostName = cell(ColumnHost);
    timeZone = cell(ColumnTimeZone);
}

void CPorticoView::OnAddServer()
{
    GameInfo* game = theApp.GetSelectedGame();
    if (game == nullptr)
        return;
    CPorticoEditServerDlg dialog(this);
    // Until the name is free or the user gives up; the dialog keeps what was typed.
    while (m_runDialog(dialog) == CPorticoEditServerDlg::IDOK) {
        if (FindServer(game->Servers, dialog.m_strServerName) != nullptr) {
            Services::Presenter().ShowMessage(kNameExists, MessageIcon::Error);
            continue;
        }
        game->Servers.AddServer(dialog.m_strServerName, dialog.m_strTimeZone, dialog.m_strHostName);
        const int row = rowCount();
        insertRow(row);
        SetRow(row, game->Servers[game->Servers.Size() - 1]);
        AutoSizeColumns();
        return;
    }
}

void CPorticoView::OnEditServer()
{
    GameInfo* game = theApp.GetSelectedGame();
    if (game == nullptr || !HasSelection())
        return;
    CPorticoEditServerDlg dialog(this);
    ReadSelectedRow(dialog.m_strServerName, dialog.m_strHostName, dialog.m_strTimeZone);
    const std::string formerName = dialog.m_strServerName;
    if (m_runDialog(dialog) != CPorticoEditServerDlg::IDOK)
        return;
    // A row left over from a failed import may name a server that is gone: it stays as it is.
    if (ServerInfo* server = FindServer(game->Servers, formerName)) {
        server->Name = dialog.m_strServerName;
        server->Hostname = dialog.m_strHostName;
        server->TimeZone = dialog.m_strTimeZone;
        if (HasSelection()) {
            SetCell(m_nSelectedRow, ColumnName, server->Name);
            SetCell(m_nSelectedRow, ColumnHost, server->Hostname);
            SetCell(m_nSelectedRow, ColumnTimeZone, server->TimeZone);
        }
    }
    AutoSizeColumns();
}

void CPorticoView::OnDeleteServer()
{
    GameInfo* game = theApp.GetSelectedGame();
    if (game == nullptr || !HasSelection())
        return;
    std::string serverName, hostName, timeZone;
    ReadSelectedRow(serverName, hostName, timeZone);
    game->Servers.RemoveByName(serverName);
    removeRow(m_nSelectedRow);
    AutoSizeColumns();
}

void CPorticoView::OnClearAll()
{
    GameInfo* game = theApp.GetSelectedGame();
    if (game == nullptr)
        return;
    game->Servers.Clear();
    RefreshList();
}

void CPorticoView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnRowActivate();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void CPorticoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    // Only the left button's double-click opens a row, as in any list.
    if (event->button() == Qt::LeftButton)
        OnRowActivate();
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
    return QTableWidget::moveCursor(cursorAction, modifiers);
}

void CPorticoView::OnRowActivate()
{
    if (HasSelection())
        OnEditServer();
}

void CPorticoView::SetRow(int row, const ServerInfo& server)
{
    SetCell(row, ColumnName, server.Name);
    SetCell(row, ColumnHost, server.Hostname);
    SetCell(row, ColumnTimeZone, server.TimeZone);
    SetCell(row, ColumnPing, server.PingTime);
    SetCell(row, ColumnStatus, server.Status);
}

void CPorticoView::SetCell(int row, int column, const std::string& text)
{
    setItem(row, column, new QTableWidgetItem(AnsiText::ToQString(text)));
}
