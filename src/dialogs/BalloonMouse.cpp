#include "dialogs/BalloonMouse.h"

#include "dialogs/BalloonFade.h"
#include "dialogs/BalloonLayout.h"
#include "dialogs/BalloonOptions.h"

#include <cstdlib>

BalloonMouse::Action BalloonMouse::Move(BalloonPoint point, int clientWidth, int alpha)
{
    Action action;
    if ((m_options & BALLOON_CLOSE_BUTTON) != 0) {
        const bool pressed = (m_buttonState & kButtonPushed) != 0;
        m_buttonState &= ~kButtonPushed;
        std::uint32_t state = kButtonFlat;
        if (BalloonLayout::CloseButtonRect(clientWidth).Contains(point)) {
            state = kButtonHot | (pressed ? kButtonPushed : 0);
            // Leaving the button must be noticed even when no further mouse move arrives.
            action.pollMs = BALLOON_BUTTON_POLL_MS;
        }
        if (state != m_buttonState) {
            m_buttonState = state;
            action.drawButton = true;
        }
        if (pressed)
            m_buttonState |= kButtonPushed;
    }
    if ((m_options & BALLOON_CLOSE_ON_MOUSE_MOVE) != 0) {
        // Movement counts only once the balloon is fully shown.
        if (alpha == BalloonFade::kOpaque && (std::abs(point.x - m_start.x) > BALLOON_MOUSE_SLACK ||
                                              std::abs(point.y - m_start.y) > BALLOON_MOUSE_SLACK))
            action.beginFadeOut = true;
        else
            action.pollMs = BALLOON_MOUSE_POLL_MS;
    }
    return action;
}

BalloonMouse::Action BalloonMouse::LeftDown(BalloonPoint point, int clientWidth, int alpha)
{
    if ((m_options & BALLOON_CLOSE_BUTTON) == 0 ||
        !BalloonLayout::CloseButtonRect(clientWidth).Contains(point))
        return {};
    m_buttonState |= kButtonPushed;
    Action action = Move(point, clientWidth, alpha);
    action.capture = true;
    return action;
}

BalloonMouse::Action BalloonMouse::LeftUp(BalloonPoint point, int clientWidth, bool hasUrl)
{
    Action action;
    if ((m_options & BALLOON_CLOSE_BUTTON) != 0 && (m_buttonState & kButtonPushed) != 0) {
        action.releaseCapture = true;
        m_buttonState &= ~kButtonPushed;
        action.beginFadeOut = BalloonLayout::CloseButtonRect(clientWidth).Contains(point);
    } else if ((m_options & BALLOON_CLOSE_ON_LEFT_UP) != 0) {
        action.releaseCapture = true;
        action.beginFadeOut = true;
    } else if (hasUrl) {
        action.beginFadeOut = true;
        action.openUrl = true;
    }
    return action;
}

BalloonMouse::Action BalloonMouse::RightUp() const
{
    Action action;
    if ((m_options & BALLOON_CLOSE_ON_RIGHT_UP) != 0) {
        action.releaseCapture = true;
        action.beginFadeOut = true;
    }
    return action;
}
