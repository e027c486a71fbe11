#pragma once

class QUrl;

// Where the program hands a web or mail address to the desktop. The program opens them with the
// desktop's own handler; tests record what would have been opened.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when no handler took the address.
    virtual bool OpenUrl(const QUrl& url) = 0;
};
