#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Where the program asks the user for a file or a folder: the platform's dialog, or a test's
// answers.
class FilePicker {
public:
    virtual ~FilePicker() = default;

    // Asks for a file to open. False when the user cancels; otherwise path is the chosen file.
    // The folder must exist, the file need not.
    virtual bool GetOpenFileName(QWidget* parent, const QString& title,
                                 const QStringList& nameFilters, const QString& defaultSuffix,
                                 QString& path) = 0;

    // Asks for an existing folder, starting in start. False when the user cancels.
    virtual bool GetExistingDirectory(QWidget* parent, const QString& title, const QString& start,
                                      QString& path) = 0;
};
