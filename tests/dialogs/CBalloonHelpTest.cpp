#include "dialogs/CBalloonHelp.h"

#include "RecordingUrlOpener.h"
#include "TestApplication.h"

#include "dialogs/BalloonLayout.h"
#include "dialogs/BalloonOptions.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

#include "BalloonTestPrinters.h"

inline void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << "(" << point.x() << "," << point.y() << ")";
}

namespace {
constexpr int kWaitMs = 5000;

QRegion ToQRegion(const BalloonRegion& region)
{
    QRegion result;
    for (const BalloonRect& rect : region.Rects())
        result += QRect(rect.left, rect.top, rect.Width(), rect.Height());
    return result;
}

BalloonRect Desktop()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {screen.left(), screen.top(), screen.left() + screen.width(),
            screen.top() + screen.height()};
}

// An owner window with a focused text field, as a dialog would be.
class BalloonTest : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureTestApplication();
        m_owner = std::make_unique<QWidget>();
        m_owner->setObjectName(QStringLiteral("owner"));
        auto* layout = new QVBoxLayout(m_owner.get());
        m_edit = new QLineEdit(m_owner.get());
        m_edit->setObjectName(QStringLiteral("field"));
        layout->addWidget(m_edit);
        m_owner->setGeometry(100, 100, 200, 60);
        m_owner->show();
        m_owner->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_owner.get()));
        m_edit->setFocus();
    }

    void TearDown() override
    {
        m_owner.reset();
        QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
        QApplication::setEffectEnabled(Qt::UI_FadeTooltip, false);
    }

    QPointer<CBalloonHelp> Open(std::uint32_t options, unsigned timeoutMs,
                                const QPoint& anchor = QPoint(300, 200),
                                const QString& url = QString(),
                                const QString& content = QStringLiteral("Some help text."))
    {
        auto* balloon = new CBalloonHelp;
        EXPECT_TRUE(balloon->CreateBalloon(QStringLiteral("Title"), content, anchor,
                                           options | BALLOON_DELETE_ON_CLOSE, m_owner.get(), url,
                                           &m_urls, timeoutMs));
        return balloon;
    }

    static QPoint ClientOrigin(const CBalloonHelp& balloon)
    {
        const BalloonRect client = BalloonLayout::ClientInset(
            {0, 0, balloon.width(), balloon.height()}, balloon.Placement().quadrant);
        return {client.left, client.top};
    }

    static void SendMouse(CBalloonHelp* balloon, QEvent::Type type, const QPoint& local,
                          Qt::MouseButton button = Qt::NoButton)
    {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, local, balloon->mapToGlobal(local), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(balloon, &event);
    }

    RecordingUrlOpener m_urls;
    std::unique_ptr<QWidget> m_owner;
    QLineEdit* m_edit = nullptr;
};

class BalloonShapeTest : public BalloonTest, public testing::WithParamInterface<QPoint> {};

TEST_P(BalloonShapeTest, WindowAndMaskAreTheComputedPlacementAndShape)
{
    const QPointer<CBalloonHelp> balloon = Open(BALLOON_CLOSE_BUTTON, 0, GetParam());
    ASSERT_TRUE(balloon);
    EXPECT_TRUE(balloon->isVisible());
    const BalloonPlacement expected = BalloonLayout::PlaceWindow(
        {balloon->width(), balloon->height()}, {GetParam().x(), GetParam().y()}, Desktop());
    EXPECT_EQ(balloon->Placement(), expected);
    EXPECT_EQ(balloon->geometry(), QRect(expected.window.left, expected.window.top,
                                         expected.window.Width(), expected.window.Height()));
    EXPECT_EQ(balloon->mask(), ToQRegion(BalloonLayout::Shape(expected)));
    // The tip of the tail touches the anchor.
    EXPECT_EQ(balloon->pos() + QPoint(expected.tail[1].x, expected.tail[1].y), GetParam());
}

// One anchor in each quarter of the offscreen screen.
INSTANTIATE_TEST_SUITE_P(Quarters, BalloonShapeTest,
                         testing::Values(QPoint(150, 100), QPoint(650, 100), QPoint(150, 500),
                                         QPoint(650, 500)));

TEST_F(BalloonTest, NeverTakesTheFocusOrTheActivation)
{
    const QPointer<CBalloonHelp> balloon = Open(BALLOON_CLOSE_ON_KEY, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), m_owner.get());
    EXPECT_EQ(QApplication::focusWidget(), m_edit);
    EXPECT_TRUE(balloon->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(balloon->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
}

TEST_F(BalloonTest, KeyPressClosesEveryKeyBalloonAndStillReachesTheFocusedField)
{
    const QPointer<CBalloonHelp> first = Open(BALLOON_CLOSE_ON_KEY | BALLOON_NO_FADE_OUT, 0);
    const QPointer<CBalloonHelp> second = Open(BALLOON_CLOSE_ON_KEY, 0, QPoint(400, 300));
    const QPointer<CBalloonHelp> other = Open(0, 0, QPoint(500, 300));

    // A release alone closes nothing.
    QTest::keyRelease(m_edit, Qt::Key_B);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(first && first->isVisible());
    EXPECT_TRUE(second && second->isVisible());

    QTest::keyClick(m_edit, Qt::Key_A);
    EXPECT_EQ(m_edit->text(), QStringLiteral("a"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull() && second.isNull(); }, kWaitMs));
    EXPECT_TRUE(other && other->isVisible());
}

TEST_F(BalloonTest, ClosesByItselfAfterTheTimeout)
{
    const QPointer<CBalloonHelp> balloon = Open(BALLOON_NO_FADE_OUT, 300);
    EXPECT_TRUE(balloon && balloon->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return balloon.isNull(); }, kWaitMs));
}

TEST_F(BalloonTest, FadesInToOpaqueAndOutBeforeItIsDestroyed)
{
    QApplication::setEffectEnabled(Qt::UI_General, true);
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, true);
    const QPointer<CBalloonHelp> balloon = Open(0, 0);
    EXPECT_EQ(balloon->Options() & BALLOON_NO_FADE, 0u);
    EXPECT_LT(balloon->windowOpacity(), 0.1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return balloon->windowOpacity() == 1.0; }, kWaitMs));

    balloon->close();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return balloon && balloon->windowOpacity() < 0.5; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return balloon.isNull(); }, kWaitMs));
}

TEST_F(BalloonTest, WithoutSystemTooltipFadingTheBalloonDoesNotFade)
{
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, false);
    const QPointer<CBalloonHelp> balloon = Open(0, 0);
    EXPECT_EQ(balloon->Options() & BALLOON_NO_FADE, BALLOON_NO_FADE);
}

TEST_F(BalloonTest, MouseMovementClosesOnlyOnceOpaqueAndBeyondThreePixels)
{
    QApplication::setEffectEnabled(Qt::UI_General, true);
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, true);
    const QPoint start(40, 40);
    QCursor::setPos(start);
    ASSERT_EQ(QCursor::pos(), start);
    const QPointer<CBalloonHelp> balloon =
        Open(BALLOON_CLOSE_ON_MOUSE_MOVE | BALLOON_NO_FADE_OUT, 0);
    ASSERT_LT(balloon->Alpha(), 255);

    // Far away while fading in: ignored.
    SendMouse(balloon, QEvent::MouseMove, balloon->mapFromGlobal(start + QPoint(20, 20)));
    EXPECT_NE(balloon->Alpha(), 250);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return balloon.isNull() || balloon->Alpha() == 255; }, kWaitMs));
    ASSERT_TRUE(balloon);

    // Three pixels on each axis are within the slack, four on one axis are not.
    QCursor::setPos(start + QPoint(3, 3));
    SendMouse(balloon, QEvent::MouseMove, balloon->mapFromGlobal(start + QPoint(3, 3)));
    EXPECT_EQ(balloon->Alpha(), 255);
    QCursor::setPos(start + QPoint(4, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return balloon.isNull(); }, kWaitMs));
}

TEST_F(BalloonTest, CursorAlreadyAwayWhenOpaqueClosesAtTheNextPoll)
{
    QApplication::setEffectEnabled(Qt::UI_General, true);
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, true);
    QCursor::setPos(QPoint(40, 40));
    const QPointer<CBalloonHelp> balloon =
        Open(BALLOON_CLOSE_ON_MOUSE_MOVE | BALLOON_NO_FADE_OUT, 0);
    QCursor::setPos(QPoint(60, 40));
    EXPECT_TRUE(QTest::qWaitFor([&] { return balloon.isNull(); }, kWaitMs));
}

TEST_F(BalloonTest, DiesWithItsOwner)
{
    const QPointer<CBalloonHelp> balloon = Open(BALLOON_CLOSE_ON_KEY, 0);
    ASSERT_TRUE(balloon);
    m_owner.reset();
    EXPECT_TRUE(balloon.isNull());
}

TEST_F(BalloonTest, LeftClickOpensTheUrlUnlessLeftUpClosesIt)
{
    const QString url = QStringLiteral("portico-test://help");

    const QPointer<CBalloonHelp> withUrl = Open(BALLOON_NO_FADE_OUT, 0, QPoint(300, 200), url);
    QTest::mouseClick(withUrl, Qt::LeftButton, {}, ClientOrigin(*withUrl) + QPoint(2, 2));
    EXPECT_EQ(m_urls.Opened, QList<QUrl>{QUrl(url)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return withUrl.isNull(); }, kWaitMs));

    const QPointer<CBalloonHelp> leftUp =
        Open(BALLOON_CLOSE_ON_LEFT_UP | BALLOON_NO_FADE_OUT, 0, QPoint(300, 200), url);
    EXPECT_EQ(QWidget::mouseGrabber(), leftUp.data());
    QTest::mouseClick(leftUp, Qt::LeftButton, {}, ClientOrigin(*leftUp) + QPoint(2, 2));
    EXPECT_EQ(m_urls.Opened.size(), 1);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return leftUp.isNull(); }, kWaitMs));
}

TEST_F(BalloonTest, CloseButtonReleasedOffItKeepsTheBalloonAndOnItCloses)
{
    const QPointer<CBalloonHelp> balloon = Open(BALLOON_CLOSE_BUTTON | BALLOON_NO_FADE_OUT, 0);
    const BalloonRect button = BalloonLayout::CloseButtonRect(balloon->width() - 16);
    const QPoint onButton = ClientOrigin(*balloon) + QPoint(button.left + 8, button.top + 8);
    const QPoint offButton = ClientOrigin(*balloon) + QPoint(2, 30);

    SendMouse(balloon, QEvent::MouseButtonPress, onButton, Qt::LeftButton);
    EXPECT_EQ(QWidget::mouseGrabber(), balloon.data());
    SendMouse(balloon, QEvent::MouseMove, offButton);
    SendMouse(balloon, QEvent::MouseButtonRelease, offButton, Qt::LeftButton);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(balloon && balloon->isVisible());
    EXPECT_NE(balloon->Alpha(), 250);

    SendMouse(balloon, QEvent::MouseButtonPress, onButton, Qt::LeftButton);
    SendMouse(balloon, QEvent::MouseButtonRelease, onButton, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return balloon.isNull(); }, kWaitMs));
}

TEST_F(BalloonTest, ReplacingTheIconMeasuresAndPlacesTheBalloonAgain)
{
    const QPointer<CBalloonHelp> balloon = Open(0, 0, QPoint(300, 200), QString(), QString());
    const QSize before = balloon->size();
    QPixmap icon(48, 48);
    icon.fill(Qt::red);
    balloon->SetIconImage(icon);
    EXPECT_EQ(balloon->height(), 48 + 8 + 36);
    EXPECT_GT(balloon->width(), before.width());
    const BalloonPlacement expected =
        BalloonLayout::PlaceWindow({balloon->width(), balloon->height()}, {300, 200}, Desktop());
    EXPECT_EQ(balloon->mask(), ToQRegion(BalloonLayout::Shape(expected)));
}

TEST_F(BalloonTest, LongBodyWrapsAtHalfTheScreen)
{
    const QString words = QStringLiteral("word ").repeated(400);
    const QPointer<CBalloonHelp> balloon = Open(0, 0, QPoint(300, 200), QString(), words);
    const int wrap = BalloonLayout::BodyWrapWidth(Desktop().Width());
    EXPECT_LE(balloon->width(), wrap + 16);
    EXPECT_GT(balloon->width(), wrap / 2);
    EXPECT_GT(balloon->height(), 5 * QFontMetrics(QApplication::font()).height());
}

TEST_F(BalloonTest, WithoutAnOwnerOrActiveWindowNothingIsShown)
{
    m_owner.reset();
    QApplication::setActiveWindow(nullptr);
    CBalloonHelp balloon;
    EXPECT_FALSE(balloon.CreateBalloon(QStringLiteral("Title"), QStringLiteral("Text"),
                                       QPoint(10, 10), 0, nullptr, QString(), nullptr, 0));
    EXPECT_FALSE(balloon.isVisible());
}
} // namespace
