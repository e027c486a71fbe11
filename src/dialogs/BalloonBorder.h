#pragma once

#include "dialogs/BalloonColor.h"

// The colours of the 3-D border, derived from the balloon's background and text colours.
// Neither can exceed a byte for any input.
class BalloonBorder {
public:
    // A third of the background lifted by 170: the light band.
    static BalloonColor Light(BalloonColor background);
    // A third of the text colour and two thirds of the background: the blend band.
    static BalloonColor Blend(BalloonColor foreground, BalloonColor background);
};
