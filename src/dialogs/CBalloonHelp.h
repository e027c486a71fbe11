#pragma once

#include "dialogs/BalloonFade.h"
#include "dialogs/BalloonMouse.h"
#include "dialogs/BalloonPlacement.h"
#include "dialogs/BalloonRegion.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <cstdint>

class QIcon;
class UrlOpener;

// A pop-up shaped like a speech balloon whose tail points at an anchor on the screen. It shows
// an optional icon, a bold one-line title, an optional close button and a word-wrapped body,
// never takes the focus or the activation, fades in and out where the system fades tooltips,
// and closes on the events its options name. Every close request goes through BeginFadeOut.
class CBalloonHelp : public QWidget {
    Q_OBJECT

public:
    CBalloonHelp();
    ~CBalloonHelp() override;

    // Opens a balloon that deletes itself when it closes; the caller keeps no reference. The
    // icon, if any, is shown at 16 by 16 pixels. A balloon that cannot be created is simply
    // not shown. A click opens the url, if any, through urlOpener.
    static void OpenBalloon(const QString& title, const QString& content, const QPoint& anchor,
                            const QIcon& icon, std::uint32_t options, QWidget* parent,
                            const QString& url, UrlOpener* urlOpener, unsigned timeoutMs);

    // Creates and shows the window, owned by parent (the active window when null). False when
    // there is no owner. A click opens the url, if any, through urlOpener.
    bool CreateBalloon(const QString& title, const QString& content, const QPoint& anchor,
                       std::uint32_t options, QWidget* parent, const QString& url,
                       UrlOpener* urlOpener, unsigned timeoutMs, const QPixmap& icon = QPixmap());

    // Replace the icon; a shown balloon is measured and placed again.
    void SetIconImage(const QPixmap& image);
    void SetIconImage(const QPixmap& image, const QColor& transparent);
    // The delay after the fade-in before the balloon closes by itself; 0 never.
    void ArmCloseTimer(unsigned timeoutMs);
    void BeginFadeIn();
    void BeginFadeOut();

    std::uint32_t Options() const { return m_options; }
    int Alpha() const { return m_fade.Alpha(); }
    QPoint Anchor() const { return m_anchor; }
    QString Content() const { return m_content; }
    const BalloonPlacement& Placement() const { return m_placement; }

protected:
    // Each returns the size of its part; a null painter only measures. Coordinates are those
    // of the client area.
    virtual QSize RenderTitleBar(QPainter* painter);
    virtual QSize RenderBody(QPainter* painter, int top);

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QSize MeasureClient();
    void PlaceWindow();
    QRect desktopRect() const;
    // The client area in window coordinates.
    QRect clientRect() const;
    QPoint toClient(const QPoint& global) const;
    void applyAlpha();
    void carry(const BalloonMouse::Action& action);
    void destroyBalloon();
    void RegisterKeyClose();
    void UnregisterKeyClose();
    void drawCloseButton(QPainter& painter, const QRect& rect) const;

    void onFadeInTimer();
    void onFadeOutTimer();
    void onAutoCloseTimer();
    void onMousePollTimer();

    std::uint32_t m_options = 0;
    unsigned m_timeoutMs = 0;
    QString m_content;
    QString m_url;
    UrlOpener* m_urlOpener = nullptr;
    QPoint m_anchor;
    QPixmap m_icon;
    QFont m_titleFont;
    QFont m_bodyFont;
    QColor m_background;
    QColor m_foreground;
    BalloonPlacement m_placement;
    BalloonRegion m_shape;
    QRegion m_frame;
    QRegion m_lightBand;
    QRegion m_blendBand;
    BalloonFade m_fade;
    BalloonMouse m_mouse;
    bool m_created = false;
    bool m_destroyed = false;
    bool m_grabbing = false;
    bool m_keyRegistered = false;

    QTimer m_fadeInTimer;
    QTimer m_fadeOutTimer;
    QTimer m_autoCloseTimer;
    QTimer m_mousePollTimer;
};
