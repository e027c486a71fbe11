#pragma once

#include "doc/FilePicker.h"

// The platform's file dialog.
class QtFilePicker : public FilePicker {
public:
    bool GetOpenFileName(QWidget* parent, const QString& title, const QStringList& nameFilters,
                         const QString& defaultSuffix, QString& path) override;
    bool GetExistingDirectory(QWidget* parent, const QString& title, const QString& start,
                              QString& path) override;
};
