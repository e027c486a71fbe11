#pragma once

#include <cstdint>

// The opacity of a balloon while it fades in and out, one step per fade timer tick. The
// window owns the timers and does what each step says.
class BalloonFade {
public:
    static constexpr int kFirstAlpha = 5;
    static constexpr int kFadeOutAlpha = 250;
    static constexpr int kStep = 25;
    static constexpr int kOpaque = 255;

    struct FadeInStep {
        int alpha = 0;
        // Stop the fade-in timer and arm the auto-close timer.
        bool finished = false;
    };
    struct FadeOutStep {
        // Apply alpha and keep the timer running; otherwise destroy the window.
        bool apply = false;
        int alpha = 0;
    };

    explicit BalloonFade(std::uint32_t options = 0) : m_options(options) {}

    void SetOptions(std::uint32_t options) { m_options = options; }
    int Alpha() const { return m_alpha; }

    // Returns the alpha to apply before the window is first shown.
    int BeginFadeIn();
    // One fade-in tick; the alpha is applied in every case.
    FadeInStep TickFadeIn();
    // Every close request ends here; a second request restarts the fade-out.
    void BeginFadeOut();
    // One fade-out tick; the caller also stops the fade-in timer.
    FadeOutStep TickFadeOut();

private:
    std::uint32_t m_options;
    int m_alpha = kOpaque;
};
