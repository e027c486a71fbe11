#pragma once

#include <QPersistentModelIndex>
#include <QTableView>

#include <memory>
#include <string>
#include <vector>

class GameSelection;
class PingAllRun;
class QMenu;
class ServerListModel;
class ServerListModels;
class SocketApi;
struct Seams;

// The list of the selected game's servers and the commands that work on single servers. The
// rows are the model of the selected game's list: every command changes the list through it,
// and acts on the server of the selected row itself.
class CPorticoView : public QTableView {
    Q_OBJECT

public:
    // sockets: what "Ping all servers" probes the servers through.
    CPorticoView(GameSelection& selection, ServerListModels& models, SocketApi& sockets,
                 QMenu& contextMenu, const Seams& seams, QWidget* parent = nullptr);
    ~CPorticoView() override;

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
    // Probes every row's server off the GUI thread; each row shows its result as it arrives.
    void OnPingAllServers();
    bool isPinging() const { return m_pingRun != nullptr; }

    // The list shown: the selected game's, or an empty one.
    ServerListModel& listModel() const;

signals:
    // The text of the caption bar: the selected game's name, version and patch.
    void titleChanged(const QString& title);
    // Rows, the selection or a ping run changed, so commands may need enabling or disabling.
    void commandStateChanged();
    // A ping run has results for done of its total servers.
    void pingProgress(int done, int total);
    void pingFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void showList(ServerListModel& list);
    // Double-click and Enter: edit the selected row, if any.
    void onRowActivate();
    void onPingResult(qint64 key, const std::string& pingTime, const std::string& status);
    void onPingFinished();

    GameSelection& m_selection;
    ServerListModels& m_models;
    QMenu& m_contextMenu;
    SocketApi& m_sockets;
    const Seams& m_seams;
    ServerListModel* m_list = nullptr;
    // The rows a ping run probes, by the run's key: a result goes to its row's server while
    // that server is still in its list, whichever game is shown by then.
    struct PingedRow {
        ServerListModel* list;
        QPersistentModelIndex row;
    };
    std::vector<PingedRow> m_pingedRows;
    std::unique_ptr<PingAllRun> m_pingRun;
    int m_nSelectedRow = -1;
};
