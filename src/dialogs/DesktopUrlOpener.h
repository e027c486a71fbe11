#pragma once

#include "dialogs/UrlOpener.h"

// Opens addresses with the desktop's handler for their scheme (browser, mail program).
class DesktopUrlOpener : public UrlOpener {
public:
    bool OpenUrl(const QUrl& url) override;
};
