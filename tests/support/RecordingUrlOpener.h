#pragma once

#include "dialogs/UrlOpener.h"

#include <QList>
#include <QUrl>

// Keeps every address the code under test hands to the desktop, and opens none.
class RecordingUrlOpener : public UrlOpener {
public:
    bool OpenUrl(const QUrl& url) override;

    QList<QUrl> Opened;
};
