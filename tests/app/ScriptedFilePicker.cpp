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
