#pragma once

#include <QTableWidget>

#include <functional>
#include <string>

class CCaptionBar;
class CPorticoEditServerDlg;
class QMenu;
struct ServerInfo;

// The list of the selected game's servers, one row per server in list order, and the commands
// that work on single servers. Rows mirror the server list in memory: commands change the list
// first and the rows second.
class CPorticoView : public QTableWidget {
    Q_OBJECT

public:
    // Runs the server properties dialog and returns IDOK or IDCANCEL.
    using DialogRunner = std::function<int(CPorticoEditServerDlg&)>;

    enum Column { ColumnName, ColumnHost, ColumnTimeZone, ColumnPing, ColumnStatus, ColumnCount };

    CPorticoView(CCaptionBar& captionBar, QMenu& contextMenu, QWidget* parent = nullptr);

    // The first fill, once the frame has picked the selected game.
    void OnInitialUpdate();
    // Rebuilds the caption bar's title and every row from the selected game.
    void RefreshList();
    // Each column as wide as the wider of its contents and its header; the last one also
    // fills the rest of the width.
    void AutoSizeColumns();
    // Whether a row is selected; if so, m_nSelectedRow is that row.
    bool HasSelection();
    // The name, host name and time zone shown in row m_nSelectedRow.
    void ReadSelectedRow(std::string& serverName, std::string& hostName,
                         std::string& timeZone) const;

    void OnAddServer();
    void OnEditServer();
    void OnDeleteServer();
    void OnClearAll();

    // Replaces how the dialog is run; the dialog itself stays the real one.
    void SetDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    // Double-click and Enter: edit the selected row, if any.
    void OnRowActivate();
    void SetRow(int row, const ServerInfo& server);
    void SetCell(int row, int column, const std::string& text);

    CCaptionBar& m_captionBar;
    QMenu& m_contextMenu;
    DialogRunner m_runDialog;
    int m_nSelectedRow = -1;
};
