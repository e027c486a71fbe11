#include "RecordingUrlOpener.h"

bool RecordingUrlOpener::OpenUrl(const QUrl& url)
{
    Opened.append(url);
    return true;
}
