#include "dialogs/CBalloonHelp.h"

#include "dialogs/BalloonBorder.h"
#include "dialogs/BalloonKeyCloseList.h"
#include "dialogs/BalloonKeyWatcher.h"
#include "dialogs/BalloonLayout.h"
#include "dialogs/BalloonOptions.h"
#include "dialogs/UrlOpener.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QToolTip>
#include <QUrl>

#include <optional>

namespace {
constexpr int kBodyFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

BalloonKeyCloseList& KeyCloseList()
{
    static BalloonKeyCloseList list;
    return list;
}

// The key watcher lives while some balloon is registered; the application owns it so that it
// never outlives the event loop.
QPointer<BalloonKeyWatcher>& KeyWatcher()
{
    static QPointer<BalloonKeyWatcher> watcher;
    return watcher;
}

QRegion ToQRegion(const BalloonRegion& region)
{
    QRegion result;
    for (const BalloonRect& rect : region.Rects())
        result += QRect(rect.left, rect.top, rect.Width(), rect.Height());
    return result;
}

QColor ToQColor(BalloonColor color)
{
    return QColor(color.red, color.green, color.blue);
}

BalloonColor ToBalloonColor(const QColor& color)
{
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

BalloonPoint ToBalloonPoint(const QPoint& point)
{
    return {point.x(), point.y()};
}

// Where the system has tooltips shown without animation or without fading, balloons do not
// fade either.
bool SystemFadesTooltips()
{
    return QApplication::isEffectEnabled(Qt::UI_AnimateTooltip) &&
           QApplication::isEffectEnabled(Qt::UI_FadeTooltip);
}
} // namespace

CBalloonHelp::CBalloonHelp()
    : m_background(QToolTip::palette().color(QPalette::ToolTipBase)),
      m_foreground(QToolTip::palette().color(QPalette::ToolTipText))
{
    setObjectName(QStringLiteral("balloonHelp"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    m_autoCloseTimer.setSingleShot(true);
    m_mousePollTimer.setSingleShot(true);
    connect(&m_fadeInTimer, &QTimer::timeout, this, &CBalloonHelp::onFadeInTimer);
    connect(&m_fadeOutTimer, &QTimer::timeout, this, &CBalloonHelp::onFadeOutTimer);
    connect(&m_autoCloseTimer, &QTimer::timeout, this, &CBalloonHelp::onAutoCloseTimer);
    connect(&m_mousePollTimer, &QTimer::timeout, this, &CBalloonHelp::onMousePollTimer);
}

CBalloonHelp::~CBalloonHelp()
{
    if (m_grabbing)
        releaseMouse();
    UnregisterKeyClose();
}

void CBalloonHelp::OpenBalloon(const QString& title, const QString& content, const QPoint& anchor,
                               const QIcon& icon, std::uint32_t options, QWidget* parent,
                               const QString& url, UrlOpener* urlOpener, unsigned timeoutMs)
{
    auto* balloon = new CBalloonHelp;
    if (!icon.isNull()) {
        // Drawn large over the background and scaled down smoothly, so that the small icon
        // keeps its detail and blends into the balloon.
        QImage large(2 * BALLOON_ICON_SIZE, 2 * BALLOON_ICON_SIZE, QImage::Format_RGB32);
        large.fill(balloon->m_background);
        {
            QPainter painter(&large);
            icon.paint(&painter, large.rect());
        }
        const QImage small = large.scaled(BALLOON_ICON_SIZE, BALLOON_ICON_SIZE,
                                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        balloon->SetIconImage(QPixmap::fromImage(small), balloon->m_background);
    }
    if (!balloon->CreateBalloon(title, content, anchor, options | BALLOON_DELETE_ON_CLOSE, parent,
                                url, urlOpener, timeoutMs))
        delete balloon;
}

bool CBalloonHelp::CreateBalloon(const QString& title, const QString& content, const QPoint& anchor,
                                 std::uint32_t options, QWidget* parent, const QString& url,
                                 UrlOpener* urlOpener, unsigned timeoutMs, const QPixmap& icon)
{
    m_content = content;
    m_anchor = anchor;
    m_options = options;
    m_url = url;
    m_urlOpener = urlOpener;
    m_timeoutMs = timeoutMs;
    if (!icon.isNull())
        SetIconImage(icon);
    QWidget* owner = parent != nullptr ? parent : QApplication::activeWindow();
    if (owner == nullptr)
        return false;
    m_bodyFont = QApplication::font();
    m_titleFont = m_bodyFont;
    m_titleFont.setWeight(QFont::Bold);
    if (!SystemFadesTooltips())
        m_options |= BALLOON_NO_FADE;
    m_fade.SetOptions(m_options);
    m_mouse.SetOptions(m_options);

    Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    if ((m_options & BALLOON_TOPMOST) != 0)
        flags |= Qt::WindowStaysOnTopHint;
    setParent(owner, flags);
    setWindowTitle(title);
    setGeometry(0, 0, 10, 10);
    m_created = true;

    PlaceWindow();
    // The first alpha is set before the window is first shown.
    BeginFadeIn();
    if ((m_options & BALLOON_CLOSE_ON_MOUSE_MOVE) != 0) {
        m_mouse.SetStart(ToBalloonPoint(toClient(QCursor::pos())));
        m_mousePollTimer.start(BALLOON_MOUSE_POLL_MS);
    }
    if ((m_options & BALLOON_CLOSE_ON_KEY) != 0)
        RegisterKeyClose();
    show();
    // Button releases anywhere on the screen must reach the balloon.
    if ((m_options & (BALLOON_CLOSE_ON_LEFT_UP | BALLOON_CLOSE_ON_RIGHT_UP)) != 0) {
        grabMouse();
        m_grabbing = true;
    }
    return true;
}

void CBalloonHelp::SetIconImage(const QPixmap& image)
{
    m_icon = image;
    if (m_created && !m_destroyed)
        PlaceWindow();
}

void CBalloonHelp::SetIconImage(const QPixmap& image, const QColor& transparent)
{
    QPixmap masked = image;
    if (!masked.isNull())
        masked.setMask(masked.createMaskFromColor(transparent, Qt::MaskInColor));
    SetIconImage(masked);
}

void CBalloonHelp::ArmCloseTimer(unsigned timeoutMs)
{
    m_timeoutMs = timeoutMs;
    if (!m_created || m_destroyed)
        return;
    if (timeoutMs != 0)
        m_autoCloseTimer.start(static_cast<int>(timeoutMs));
    else
        m_autoCloseTimer.stop();
}

void CBalloonHelp::BeginFadeIn()
{
    m_fade.BeginFadeIn();
    applyAlpha();
    m_fadeInTimer.start(BALLOON_FADE_INTERVAL_MS);
}

void CBalloonHelp::BeginFadeOut()
{
    if (m_destroyed)
        return;
    m_fade.BeginFadeOut();
    m_fadeOutTimer.start(BALLOON_FADE_INTERVAL_MS);
}

QSize CBalloonHelp::RenderTitleBar(QPainter* painter)
{
    const QString title = windowTitle();
    std::optional<BalloonSize> iconSize;
    if (!m_icon.isNull())
        iconSize = BalloonSize{m_icon.width(), m_icon.height()};
    std::optional<BalloonSize> titleSize;
    if (!title.isEmpty()) {
        const QRect measured =
            QFontMetrics(m_titleFont)
                .boundingRect(QRect(), Qt::TextSingleLine | Qt::TextExpandTabs, title);
        titleSize = BalloonSize{measured.width(), measured.height()};
    }
    const bool closeButton = (m_options & BALLOON_CLOSE_BUTTON) != 0;
    const BalloonSize bar = BalloonLayout::MeasureTitleBar(iconSize, closeButton, titleSize);
    if (painter != nullptr) {
        QRect free(QPoint(0, 0), clientRect().size());
        if (iconSize) {
            painter->drawPixmap(0, 0, m_icon);
            free.setLeft(free.left() + iconSize->width);
        }
        if (closeButton) {
            const BalloonRect button = BalloonLayout::CloseButtonRect(clientRect().width());
            drawCloseButton(*painter,
                            QRect(button.left, button.top, button.Width(), button.Height()));
            free.setRight(free.right() - BALLOON_CLOSE_BUTTON_SIZE);
        }
        if (titleSize) {
            painter->setFont(m_titleFont);
            painter->setPen(m_foreground);
            painter->drawText(
                free, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs,
                title);
        }
    }
    return {bar.width, bar.height};
}

QSize CBalloonHelp::RenderBody(QPainter* painter, int top)
{
    if (m_content.isEmpty())
        return {0, 0};
    const int wrapWidth = BalloonLayout::BodyWrapWidth(desktopRect().width());
    const QRect measured =
        QFontMetrics(m_bodyFont)
            .boundingRect(QRect(0, top, wrapWidth, 1 << 20), kBodyFlags, m_content);
    if (painter != nullptr) {
        painter->setFont(m_bodyFont);
        painter->setPen(m_foreground);
        // The full wrap width, so that the lines break exactly where they were measured.
        painter->drawText(QRect(0, top, wrapWidth, measured.height()), kBodyFlags, m_content);
    }
    return measured.size();
}

void CBalloonHelp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const auto fill = [&painter](const QRegion& region, const QColor& color) {
        for (const QRect& rect : region)
            painter.fillRect(rect, color);
    };
    if ((m_options & BALLOON_3D_BORDER) != 0) {
        const BalloonColor background = ToBalloonColor(m_background);
        fill(m_lightBand, ToQColor(BalloonBorder::Light(background)));
        fill(m_blendBand, ToQColor(BalloonBorder::Blend(ToBalloonColor(m_foreground), background)));
    }
    fill(m_frame, m_foreground);

    const QRect client = clientRect();
    painter.translate(client.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), client.size()));
    const QSize bar = RenderTitleBar(&painter);
    RenderBody(&painter, bar.height() + BALLOON_GAP);
}

void CBalloonHelp::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_created || m_destroyed)
        return;
    carry(m_mouse.Move(ToBalloonPoint(event->position().toPoint() - clientRect().topLeft()),
                       clientRect().width(), Alpha()));
}

void CBalloonHelp::mousePressEvent(QMouseEvent* event)
{
    if (!m_created || m_destroyed || event->button() != Qt::LeftButton)
        return;
    carry(m_mouse.LeftDown(ToBalloonPoint(event->position().toPoint() - clientRect().topLeft()),
                           clientRect().width(), Alpha()));
}

void CBalloonHelp::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_created || m_destroyed)
        return;
    if (event->button() == Qt::LeftButton) {
        carry(m_mouse.LeftUp(ToBalloonPoint(event->position().toPoint() - clientRect().topLeft()),
                             clientRect().width(), !m_url.isEmpty()));
    } else if (event->button() == Qt::RightButton) {
        carry(m_mouse.RightUp());
    }
}

void CBalloonHelp::closeEvent(QCloseEvent* event)
{
    // A close request fades the balloon out rather than destroying it at once.
    event->ignore();
    if (m_created)
        BeginFadeOut();
}

QSize CBalloonHelp::MeasureClient()
{
    const QSize bar = RenderTitleBar(nullptr);
    const QSize body = RenderBody(nullptr, 0);
    const BalloonSize client =
        BalloonLayout::MeasureClient({bar.width(), bar.height()}, {body.width(), body.height()});
    return {client.width, client.height};
}

void CBalloonHelp::PlaceWindow()
{
    const QSize client = MeasureClient();
    const BalloonSize window = BalloonLayout::MeasureWindow({client.width(), client.height()});
    const QRect desktop = desktopRect();
    m_placement =
        BalloonLayout::PlaceWindow(window, ToBalloonPoint(m_anchor),
                                   {desktop.left(), desktop.top(), desktop.left() + desktop.width(),
                                    desktop.top() + desktop.height()});
    setGeometry(m_placement.window.left, m_placement.window.top, m_placement.window.Width(),
                m_placement.window.Height());

    BalloonRegion shape = BalloonLayout::Shape(m_placement);
    const bool unchanged = !m_shape.IsEmpty() && shape == m_shape;
    m_frame = ToQRegion(shape.Frame(1, 1));
    m_lightBand = ToQRegion(shape.Offset(1, 1).Frame(2, 2));
    m_blendBand = ToQRegion(shape.Offset(-1, -1).Frame(2, 2));
    setMask(ToQRegion(shape));
    m_shape = std::move(shape);
    if (!unchanged)
        update();
}

QRect CBalloonHelp::desktopRect() const
{
    QScreen* screen = QGuiApplication::screenAt(m_anchor);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect();
}

QRect CBalloonHelp::clientRect() const
{
    const BalloonRect client = BalloonLayout::ClientInset(
        {0, 0, m_placement.window.Width(), m_placement.window.Height()}, m_placement.quadrant);
    return {client.left, client.top, client.Width(), client.Height()};
}

QPoint CBalloonHelp::toClient(const QPoint& global) const
{
    return global - QPoint(m_placement.window.left, m_placement.window.top) -
           clientRect().topLeft();
}

void CBalloonHelp::applyAlpha()
{
    setWindowOpacity(m_fade.Alpha() / 255.0);
}

void CBalloonHelp::carry(const BalloonMouse::Action& action)
{
    if (action.drawButton) {
        const BalloonRect button = BalloonLayout::CloseButtonRect(clientRect().width());
        update(QRect(button.left, button.top, button.Width(), button.Height())
                   .translated(clientRect().topLeft()));
    }
    if (action.pollMs != 0)
        m_mousePollTimer.start(action.pollMs);
    if (action.capture && !m_grabbing) {
        grabMouse();
        m_grabbing = true;
    }
    if (action.releaseCapture && m_grabbing) {
        releaseMouse();
        m_grabbing = false;
    }
    if (action.beginFadeOut)
        BeginFadeOut();
    if (action.openUrl && m_urlOpener != nullptr)
        m_urlOpener->OpenUrl(QUrl(m_url));
}

void CBalloonHelp::destroyBalloon()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_fadeInTimer.stop();
    m_fadeOutTimer.stop();
    m_autoCloseTimer.stop();
    m_mousePollTimer.stop();
    if (m_grabbing) {
        releaseMouse();
        m_grabbing = false;
    }
    hide();
    UnregisterKeyClose();
    if ((m_options & BALLOON_DELETE_ON_CLOSE) != 0)
        deleteLater();
}

void CBalloonHelp::RegisterKeyClose()
{
    if (KeyCloseList().Register(static_cast<QObject*>(this))) {
        auto* watcher = new BalloonKeyWatcher(KeyCloseList());
        watcher->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watcher);
        KeyWatcher() = watcher;
    }
}

void CBalloonHelp::UnregisterKeyClose()
{
    if (KeyCloseList().Unregister(static_cast<QObject*>(this)))
        delete KeyWatcher().data();
}

void CBalloonHelp::drawCloseButton(QPainter& painter, const QRect& rect) const
{
    const std::uint32_t state = m_mouse.ButtonState();
    const bool pushed = (state & BalloonMouse::kButtonPushed) != 0;
    if ((state & BalloonMouse::kButtonHot) != 0) {
        painter.setPen(m_foreground);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    const QRect cross = rect.adjusted(4, 4, -5, -5).translated(pushed ? 1 : 0, pushed ? 1 : 0);
    painter.setPen(QPen(m_foreground, 2));
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

void CBalloonHelp::onFadeInTimer()
{
    const BalloonFade::FadeInStep step = m_fade.TickFadeIn();
    if (step.finished) {
        m_fadeInTimer.stop();
        ArmCloseTimer(m_timeoutMs);
    }
    applyAlpha();
}

void CBalloonHelp::onFadeOutTimer()
{
    m_fadeInTimer.stop();
    const BalloonFade::FadeOutStep step = m_fade.TickFadeOut();
    if (step.apply) {
        applyAlpha();
        return;
    }
    m_fadeOutTimer.stop();
    destroyBalloon();
}

void CBalloonHelp::onAutoCloseTimer()
{
    BeginFadeOut();
}

void CBalloonHelp::onMousePollTimer()
{
    carry(m_mouse.Move(ToBalloonPoint(toClient(QCursor::pos())), clientRect().width(), Alpha()));
}
