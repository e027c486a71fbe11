#include "dialogs/BalloonLayout.h"

#include "dialogs/BalloonOptions.h"

#include <algorithm>

BalloonSize BalloonLayout::MeasureTitleBar(std::optional<BalloonSize> icon, bool closeButton,
                                           std::optional<BalloonSize> title)
{
    BalloonSize bar;
    if (icon) {
        bar.width = icon->width;
        if (icon->height >= 0)
            bar.height = icon->height;
    }
    if (closeButton) {
        if (bar.width > 0)
            bar.width += BALLOON_GAP;
        bar.width += BALLOON_CLOSE_BUTTON_SIZE;
        bar.height = std::max(bar.height, BALLOON_CLOSE_BUTTON_SIZE);
    }
    if (title) {
        if (bar.width > 0)
            bar.width += BALLOON_GAP;
        bar.width += title->width;
        bar.height = std::max(bar.height, title->height);
    }
    return bar;
}

int BalloonLayout::BodyWrapWidth(int desktopWidth)
{
    return desktopWidth - desktopWidth / 2;
}

BalloonSize BalloonLayout::MeasureClient(BalloonSize titleBar, BalloonSize body)
{
    return {std::max(titleBar.width, body.width), titleBar.height + body.height + BALLOON_GAP};
}

BalloonSize BalloonLayout::MeasureWindow(BalloonSize client)
{
    return {client.width + 2 * BALLOON_MARGIN, client.height + 2 * BALLOON_MARGIN + BALLOON_TAIL};
}

int BalloonLayout::AnchorQuadrant(BalloonPoint anchor, const BalloonRect& desktop)
{
    const bool right = anchor.x - desktop.left >= desktop.Width() / 2;
    const bool lower = anchor.y - desktop.top >= desktop.Height() / 2;
    if (lower)
        return right ? 2 : 3;
    return right ? 0 : 1;
}

BalloonPlacement BalloonLayout::PlaceWindow(BalloonSize window, BalloonPoint anchor,
                                            const BalloonRect& desktop)
{
    BalloonPlacement placement;
    placement.quadrant = AnchorQuadrant(anchor, desktop);
    const int w = window.width;
    const int h = window.height;
    const int q = (w - BALLOON_TAIL) / 4;
    auto& tail = placement.tail;
    switch (placement.quadrant) {
    case 0:
        tail = {{{3 * q, 21}, {3 * q + 20, 1}, {3 * q + 20, 21}}};
        break;
    case 1:
        tail = {{{q + 20, 21}, {q, 1}, {q, 21}}};
        break;
    case 2:
        tail = {{{3 * q, h - 22}, {3 * q + 20, h - 2}, {3 * q + 20, h - 22}}};
        break;
    default:
        tail = {{{q + 20, h - 22}, {q, h - 2}, {q, h - 22}}};
        break;
    }
    if (placement.quadrant < 2) {
        placement.bodyTop = BALLOON_TAIL;
        placement.bodyBottom = h;
    } else {
        placement.bodyTop = 0;
        placement.bodyBottom = h - BALLOON_TAIL;
    }
    for (BalloonPoint& point : tail) {
        point.x = std::max(point.x, BALLOON_TAIL_INSET);
        point.x = std::min(point.x, w - BALLOON_TAIL_INSET);
    }

    int left = anchor.x - tail[1].x;
    int top = anchor.y - tail[1].y;
    int dx = 0;
    if (left < desktop.left)
        dx = desktop.left - left;
    else if (left + w >= desktop.right)
        dx = desktop.right - left - w;
    int dy = 0;
    if (top < desktop.top)
        dy = desktop.top - top;
    else if (top + h >= desktop.bottom)
        dy = desktop.bottom - top - h;
    left += dx;
    tail[1].x -= dx;
    top += dy;
    placement.window = {left, top, left + w, top + h};
    return placement;
}

BalloonRegion BalloonLayout::Shape(const BalloonPlacement& placement)
{
    const BalloonRegion tail =
        BalloonRegion::Polygon({placement.tail[0], placement.tail[1], placement.tail[2]});
    const BalloonRegion body = BalloonRegion::RoundRect(
        {0, placement.bodyTop, placement.window.Width(), placement.bodyBottom}, BALLOON_CORNER,
        BALLOON_CORNER);
    return tail.United(body);
}

BalloonRect BalloonLayout::ClientInset(const BalloonRect& window, int quadrant)
{
    BalloonRect client{window.left + BALLOON_MARGIN, window.top + BALLOON_MARGIN,
                       window.right - BALLOON_MARGIN, window.bottom - BALLOON_MARGIN};
    if (quadrant < 2)
        client.top += BALLOON_TAIL;
    else
        client.bottom -= BALLOON_TAIL;
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

BalloonRect BalloonLayout::CloseButtonRect(int clientWidth)
{
    return {clientWidth - BALLOON_CLOSE_BUTTON_SIZE, 0, clientWidth, BALLOON_CLOSE_BUTTON_SIZE};
}
