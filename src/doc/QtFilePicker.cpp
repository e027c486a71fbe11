#include "doc/QtFilePicker.h"

#include <QFileDialog>

bool QtFilePicker::GetOpenFileName(QWidget* parent, const QString& title,
                                   const QStringList& nameFilters, const QString& defaultSuffix,
                                   QString& path)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted; reading it then says why not.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().constFirst();
    return true;
}

bool QtFilePicker::GetExistingDirectory(QWidget* parent, const QString& title, const QString& start,
                                        QString& path)
{
    QFileDialog dialog(parent, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // Prefixes are hidden folders as often as not (~/.wine).
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().constFirst();
    return true;
}
