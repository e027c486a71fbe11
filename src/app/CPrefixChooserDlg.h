#pragma once

#include "app/PrefixSearch.h"

#include <QDialog>

#include <set>
#include <string>

class FilePicker;
class MessagePresenter;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Lets the user choose the Wine prefix to edit: the prefixes found, each with the launcher
// that made it, its folder and the games installed there, those with a game first; or any
// other folder that holds a prefix, through Browse.
class CPrefixChooserDlg : public QDialog {
    Q_OBJECT

public:
    enum Column { ColumnGames, ColumnLauncher, ColumnPath, ColumnCount };

    // prefixInUse is marked in the list; home is where Browse starts when it is not a folder.
    CPrefixChooserDlg(std::string prefixInUse, std::string home, FilePicker& files,
                      MessagePresenter& presenter, QWidget* parent = nullptr);

    int DoModal() { return exec(); }
    // The folder chosen, once the dialog was accepted.
    const std::string& chosenPath() const { return m_chosen; }

    // A prefix found; those with a game go before those without. One already listed is
    // passed over.
    void addPrefix(const PrefixSearch::Entry& entry);
    void searchFinished(bool complete);

private:
    void onBrowse();
    void onAccept();
    void updateStatus(bool searching, bool complete);
    QTreeWidgetItem* selected() const;

    std::string m_inUse;
    std::string m_home;
    FilePicker& m_files;
    MessagePresenter& m_presenter;
    QLabel* m_status = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    int m_withGame = 0;
    std::set<std::string> m_listed;
    std::string m_chosen;
};
