#include "dialogs/BalloonFade.h"

#include "dialogs/BalloonOptions.h"

int BalloonFade::BeginFadeIn()
{
    m_alpha = kFirstAlpha;
    return m_alpha;
}

BalloonFade::FadeInStep BalloonFade::TickFadeIn()
{
    m_alpha += kStep;
    FadeInStep step;
    if (m_alpha > kOpaque || (m_options & BALLOON_NO_FADE_IN) != 0) {
        m_alpha = kOpaque;
        step.finished = true;
    }
    step.alpha = m_alpha;
    return step;
}

void BalloonFade::BeginFadeOut()
{
    m_alpha = kFadeOutAlpha;
}

BalloonFade::FadeOutStep BalloonFade::TickFadeOut()
{
    m_alpha -= kStep;
    if (m_alpha >= 0 && (m_options & BALLOON_NO_FADE_OUT) == 0)
        return {true, m_alpha};
    m_alpha = 0;
    return {false, 0};
}
