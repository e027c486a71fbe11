#pragma once

#include "dialogs/BalloonColor.h"
#include "dialogs/BalloonPlacement.h"
#include "dialogs/BalloonPoint.h"
#include "dialogs/BalloonRect.h"
#include "dialogs/BalloonSize.h"

#include <ostream>

// Readable values in test names and failure messages.
inline void PrintTo(const BalloonPoint& point, std::ostream* out)
{
    *out << "(" << point.x << "," << point.y << ")";
}

inline void PrintTo(const BalloonSize& size, std::ostream* out)
{
    *out << size.width << "x" << size.height;
}

inline void PrintTo(const BalloonRect& rect, std::ostream* out)
{
    *out << "[" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ")";
}

inline void PrintTo(const BalloonColor& color, std::ostream* out)
{
    *out << "rgb(" << int{color.red} << "," << int{color.green} << "," << int{color.blue} << ")";
}

inline void PrintTo(const BalloonPlacement& placement, std::ostream* out)
{
    *out << "quadrant " << placement.quadrant << " window ";
    PrintTo(placement.window, out);
    *out << " tail ";
    for (const BalloonPoint& point : placement.tail)
        PrintTo(point, out);
    *out << " body rows " << placement.bodyTop << "-" << placement.bodyBottom;
}
