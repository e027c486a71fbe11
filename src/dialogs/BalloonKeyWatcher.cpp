#include "dialogs/BalloonKeyWatcher.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>

bool BalloonKeyWatcher::eventFilter(QObject* watched, QEvent* event)
{
    // A key that a shortcut takes never arrives as a key press, but its shortcut override
    // does; whichever comes first empties the list.
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        for (BalloonKeyCloseList::Handle balloon : m_list.KeyEvent(false))
            QCoreApplication::postEvent(static_cast<QObject*>(balloon), new QCloseEvent);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
