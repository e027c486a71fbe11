#pragma once

#include <QTableView>

#include <string>

class GameSelection;
class QMenu;
class ServerListModel;
class ServerListModels;
struct Seams;

// The list of the selected game's servers and the commands that work on single servers. The
// rows are the model of the selected game's list: every command changes the list through it,
// and acts on the server of the selected row itself.
class CPorticoView : public QTableView {
    Q_OBJECT

public:
    CPorticoView(GameSelection& selection, ServerListModels& models, QMenu& contextMenu,
                 const Seams& seams, QWidget* parent = nullptr);

    // The first fill, once the frame has picked the selected game; from then on the view
    // follows the selection.
    void OnInitialUpdate();
    // Shows the selected game: its title and its list.
    void RefreshList();
    // Each column as wide as the wider of its contents and its header; the last one also
    // fills the rest of the width.
    void AutoSizeColumns();
    // Whether a row is selected; if so, m_nSelectedRow is that row.
    bool HasSelection();
    // The name, host name and time zone of the server in row m_nSelectedRow.
    void ReadSelectedRow(std::string& serverName, std::string& hostName,
                         std::string& timeZone) const;

    void OnAddServer();
    void OnEditServer();
    void OnDeleteServer();
    void OnClearAll();

    // The list shown: the selected game's, or an empty one.
    ServerListModel& listModel() const;

signals:
    // The text of the caption bar: the selected game's name, version and patch.
    void titleChanged(const QString& title);
    // Rows or the selection changed, so commands may need enabling or disabling.
    void commandStateChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void showList(ServerListModel& list);
    // Double-click and Enter: edit the selected row, if any.
    void onRowActivate();

    GameSelection& m_selection;
    ServerListModels& m_models;
    QMenu& m_contextMenu;
    const Seams& m_seams;
    ServerListModel* m_list = nullptr;
    int m_nSelectedRow = -1;
};
