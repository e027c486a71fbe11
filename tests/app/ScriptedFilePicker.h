#pragma once

#include "doc/FilePicker.h"

#include <optional>

// Answers the file dialog as the test says, and keeps what the program asked.
class ScriptedFilePicker : public FilePicker {
public:
    bool GetOpenFileName(QWidget* parent, const QString& title, const QStringList& nameFilters,
                         const QString& defaultSuffix, QString& path) override;
    bool GetExistingDirectory(QWidget* parent, const QString& title, const QString& start,
                              QString& path) override;

    // The path to answer with; none answers Cancel.
    std::optional<QString> Answer;

    int Calls = 0;
    QString Title;
    QStringList NameFilters;
    QString DefaultSuffix;

    // The folder to answer with; none answers Cancel.
    std::optional<QString> FolderAnswer;
    int FolderCalls = 0;
};
