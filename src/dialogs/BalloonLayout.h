#pragma once

#include "dialogs/BalloonPlacement.h"
#include "dialogs/BalloonPoint.h"
#include "dialogs/BalloonRect.h"
#include "dialogs/BalloonRegion.h"
#include "dialogs/BalloonSize.h"

#include <optional>

// The geometry of a balloon, from the measured sizes of its parts to its window rectangle and
// shape. The desktop rectangle is the screen the balloon appears on.
class BalloonLayout {
public:
    // The title bar: icon, title and close button side by side with gaps between them. No
    // icon or an empty title is passed as nullopt.
    static BalloonSize MeasureTitleBar(std::optional<BalloonSize> icon, bool closeButton,
                                       std::optional<BalloonSize> title);
    // The widest the body text may wrap to: half the desktop, rounded up.
    static int BodyWrapWidth(int desktopWidth);
    // The title bar above the body, with the gap between them even when either is empty.
    static BalloonSize MeasureClient(BalloonSize titleBar, BalloonSize body);
    // The client area plus the margins on every side and the tail.
    static BalloonSize MeasureWindow(BalloonSize client);

    // In which quarter of the desktop the anchor lies; a point on a half line counts as the
    // right or lower half.
    static int AnchorQuadrant(BalloonPoint anchor, const BalloonRect& desktop);
    // Sets the tail so that its tip touches the anchor, then keeps the window on the desktop;
    // a window pushed aside takes the tip along with it, so the tip still touches the anchor.
    static BalloonPlacement PlaceWindow(BalloonSize window, BalloonPoint anchor,
                                        const BalloonRect& desktop);
    // The tail united with the rounded body rectangle, in window coordinates.
    static BalloonRegion Shape(const BalloonPlacement& placement);

    // The client area inside a window rectangle: the margins and the tail taken off.
    static BalloonRect ClientInset(const BalloonRect& window, int quadrant);
    // The close button at the top right of a client area of the given width.
    static BalloonRect CloseButtonRect(int clientWidth);
};
