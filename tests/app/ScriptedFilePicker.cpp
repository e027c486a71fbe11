#include "ScriptedFilePicker.h"

bool ScriptedFilePicker::GetOpenFileName(QWidget*, const QString& title,
                                         const QStringList& nameFilters,
                                         const QString& defaultSuffix, QString& path)
{
    ++Calls;
    Title = title;
    NameFilters = nameFilters;
    DefaultSuffix = defaultSuffix;
    if (!Answer)
        return false;
    path = *Answer;
    return true;
}

bool ScriptedFilePicker::GetExistingDirectory(QWidget*, const QString& title, const QString&,
                                              QString& path)
{
    ++FolderCalls;
    Title = title;
    if (!FolderAnswer)
        return false;
    path = *FolderAnswer;
    return true;
}
