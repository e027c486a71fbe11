#pragma once

#include "dialogs/BalloonOptions.h"
#include "dialogs/BalloonPoint.h"

#include <cstdint>

// The mouse rules of a balloon: the close button's states, closing on mouse movement and on
// button releases. Points are in client coordinates. The window carries out the actions.
class BalloonMouse {
public:
    // Close button states, as a caption button is drawn; the pushed bit doubles as the mark
    // that the button is being pressed.
    static constexpr std::uint32_t kButtonPushed = 0x0200;
    static constexpr std::uint32_t kButtonHot = 0x1000;
    static constexpr std::uint32_t kButtonFlat = 0x4000;

    struct Action {
        // Redraw the close button in ButtonState().
        bool drawButton = false;
        // Restart the mouse poll timer with this interval; 0 leaves it alone.
        int pollMs = 0;
        bool beginFadeOut = false;
        bool capture = false;
        bool releaseCapture = false;
        bool openUrl = false;
    };

    explicit BalloonMouse(std::uint32_t options = 0) : m_options(options) {}

    void SetOptions(std::uint32_t options) { m_options = options; }
    // Where the cursor was when the balloon opened.
    void SetStart(BalloonPoint start) { m_start = start; }
    std::uint32_t ButtonState() const { return m_buttonState; }

    // A mouse move over the window, or a poll of the cursor position.
    Action Move(BalloonPoint point, int clientWidth, int alpha);
    Action LeftDown(BalloonPoint point, int clientWidth, int alpha);
    Action LeftUp(BalloonPoint point, int clientWidth, bool hasUrl);
    Action RightUp() const;

private:
    std::uint32_t m_options;
    std::uint32_t m_buttonState = 0;
    BalloonPoint m_start;
};
