#include "app/CPrefixChooserDlg.h"

#include "app/WinePrefixes.h"
#include "data/MessagePresenter.h"
#include "doc/FilePicker.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// Where the path of an item is kept, as the file system's bytes.
constexpr int kPathRole = Qt::UserRole;

QString Decode(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}
} // namespace

CPrefixChooserDlg::CPrefixChooserDlg(std::string prefixInUse, std::string home, FilePicker& files,
                                     MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), m_inUse(std::move(prefixInUse)), m_home(std::move(home)), m_files(files),
      m_presenter(presenter)
{
    setObjectName(QStringLiteral("prefixChooser"));
    setWindowTitle(QStringLiteral("Wine prefix"));

    auto* intro = new QLabel(
        QStringLiteral("Each Wine prefix has a registry of its own. Choose the one whose games "
                       "are to be edited:"),
        this);
    intro->setWordWrap(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("prefixList"));
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels(
        {QStringLiteral("Games"), QStringLiteral("Launcher"), QStringLiteral("Folder")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    m_list->header()->setStretchLastSection(true);
    m_list->setTextElideMode(Qt::ElideLeft);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("searchStatus"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setText(QStringLiteral("Use this prefix"));
    m_ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    QPushButton* browse =
        buttons->addButton(QStringLiteral("Browse\u2026"), QDialogButtonBox::ActionRole);
    browse->setObjectName(QStringLiteral("browseButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CPrefixChooserDlg::onAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &CPrefixChooserDlg::onBrowse);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CPrefixChooserDlg::onAccept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_ok->setEnabled(selected() != nullptr); });

    updateStatus(true, true);
    resize(720, 340);
}

void CPrefixChooserDlg::addPrefix(const PrefixSearch::Entry& entry)
{
    if (!m_listed.insert(entry.Path).second)
        return;
    QStringList games;
    for (const std::string& game : entry.Games)
        games << QString::fromLatin1(game.c_str());
    auto* item =
        new QTreeWidgetItem({games.isEmpty() ? QStringLiteral("no game") : games.join(", "),
                             QString::fromStdString(entry.Launcher),
                             Decode(WinePrefixes::Shorten(entry.Path, m_home))});
    item->setData(ColumnPath, kPathRole, QByteArray::fromStdString(entry.Path));
    item->setToolTip(ColumnPath, Decode(entry.Path));
    if (games.isEmpty()) {
        for (int column = 0; column < ColumnCount; ++column)
            item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    const bool inUse = entry.Path == m_inUse;
    if (inUse) {
        QFont font = m_list->font();
        font.setBold(true);
        for (int column = 0; column < ColumnCount; ++column)
            item->setFont(column, font);
        item->setText(ColumnLauncher, item->text(ColumnLauncher) + QStringLiteral(" (in use)"));
    }

    // Those with a game first, each group in the order found.
    if (games.isEmpty()) {
        m_list->addTopLevelItem(item);
    } else {
        m_list->insertTopLevelItem(m_withGame, item);
        ++m_withGame;
    }
    // The prefix in use when it has a game, else the first with one, is the one offered.
    QTreeWidgetItem* current = selected();
    const bool currentHasGame =
        current != nullptr && m_list->indexOfTopLevelItem(current) < m_withGame;
    if (current == nullptr || (!games.isEmpty() && (inUse || !currentHasGame)))
        m_list->setCurrentItem(item);
    for (int column = 0; column < ColumnPath; ++column)
        m_list->resizeColumnToContents(column);
    updateStatus(true, true);
}

void CPrefixChooserDlg::searchFinished(bool complete)
{
    updateStatus(false, complete);
}

void CPrefixChooserDlg::updateStatus(bool searching, bool complete)
{
    const int count = m_list->topLevelItemCount();
    QString text;
    if (count == 0)
        text = QStringLiteral("No Wine prefix found yet.");
    else
        text = QStringLiteral("%1 found, %2 with a game.")
                   .arg(count == 1 ? QStringLiteral("1 prefix")
                                   : QStringLiteral("%1 prefixes").arg(count))
                   .arg(m_withGame);
    if (searching)
        text += QStringLiteral(" Searching\u2026");
    else if (!complete)
        text += QStringLiteral(" The search took too long and was stopped.");
    m_status->setText(text);
}

QTreeWidgetItem* CPrefixChooserDlg::selected() const
{
    const QList<QTreeWidgetItem*> items = m_list->selectedItems();
    return items.isEmpty() ? nullptr : items.constFirst();
}

void CPrefixChooserDlg::onAccept()
{
    const QTreeWidgetItem* item = selected();
    if (item == nullptr)
        return;
    m_chosen = item->data(ColumnPath, kPathRole).toByteArray().toStdString();
    accept();
}

void CPrefixChooserDlg::onBrowse()
{
    const QString start = QFileInfo(Decode(m_inUse)).isDir() ? Decode(m_inUse) : Decode(m_home);
    QString folder;
    if (!m_files.GetExistingDirectory(this, QStringLiteral("Choose a Wine prefix"), start, folder))
        return;
    const QFileInfo info(folder);
    const std::string path = QFile::encodeName(info.canonicalFilePath()).toStdString();
    if (!info.isDir() || !WinePrefixFinder::IsPrefix(path)) {
        m_presenter.ShowMessage(
            QFile::encodeName(
                QStringLiteral("'%1' is not a Wine prefix: a Wine prefix is a folder that holds "
                               "both system.reg and user.reg.")
                    .arg(folder))
                .toStdString(),
            MessageIcon::Error);
        return;
    }
    m_chosen = path;
    accept();
}
