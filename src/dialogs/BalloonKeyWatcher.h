#pragma once

#include "dialogs/BalloonKeyCloseList.h"

#include <QObject>

// Watches every key press of the application while some balloon closes on a key. A press
// asks each registered balloon to close, through a posted close event, and still goes on to
// the focused widget.
class BalloonKeyWatcher : public QObject {
public:
    explicit BalloonKeyWatcher(BalloonKeyCloseList& list) : m_list(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BalloonKeyCloseList& m_list;
};
