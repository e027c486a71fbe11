#include "dialogs/CPorticoEditServerDlg.h"

#include "ModalDialogTest.h"
#include "RecordingPresenter.h"
#include "TestApplication.h"

#include "dialogs/BalloonOptions.h"
#include "dialogs/CBalloonHelp.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
using ModalDialogTest::Child;
using ModalDialogTest::RunModal;

constexpr int kWaitMs = 5000;

class EditServerDlgTest : public testing::Test {
protected:
    void SetUp() override { EnsureTestApplication(); }

    // The shown balloon with this title, waiting for it to appear.
    static CBalloonHelp* WaitForBalloon(const CPorticoEditServerDlg& dialog, const char* title)
    {
        CBalloonHelp* found = nullptr;
        const bool appeared = QTest::qWaitFor(
            [&] {
                for (CBalloonHelp* balloon : dialog.findChildren<CBalloonHelp*>()) {
                    if (balloon->isVisible() && balloon->windowTitle() == title)
                        found = balloon;
                }
                return found != nullptr;
            },
            kWaitMs);
        return appeared ? found : nullptr;
    }

    static int VisibleBalloons(const CPorticoEditServerDlg& dialog)
    {
        int count = 0;
        for (const CBalloonHelp* balloon : dialog.findChildren<CBalloonHelp*>())
            count += balloon->isVisible() ? 1 : 0;
        return count;
    }

    static QPoint CentreOf(const QWidget* widget)
    {
        const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
        return {(2 * topLeft.x() + widget->width()) / 2, (2 * topLeft.y() + widget->height()) / 2};
    }

    RecordingPresenter m_presenter;
};

struct MissingCase {
    const char* server;
    const char* host;
    const char* timeZone;
    const char* message;
    const char* focus;
};

void PrintTo(const MissingCase& c, std::ostream* out)
{
    *out << "'" << c.server << "' '" << c.host << "' '" << c.timeZone << "'";
}

class MissingFieldTest : public EditServerDlgTest,
                         public testing::WithParamInterface<MissingCase> {};

TEST_P(MissingFieldTest, FirstEmptyFieldIsReportedFocusedAndTheDialogKeepsTheTexts)
{
    const MissingCase& c = GetParam();
    CPorticoEditServerDlg dialog(m_presenter);
    const int result = RunModal(dialog, [&] {
        Child<QLineEdit>(dialog, "serverNameEdit")->setText(QString::fromLatin1(c.server));
        Child<QLineEdit>(dialog, "hostNameEdit")->setText(QString::fromLatin1(c.host));
        Child<QLineEdit>(dialog, "timeZoneEdit")->setText(QString::fromLatin1(c.timeZone));
        Child<QPushButton>(dialog, "okButton")->click();

        ASSERT_EQ(m_presenter.Messages.size(), 1u);
        EXPECT_EQ(m_presenter.Messages[0].Text, c.message);
        EXPECT_EQ(m_presenter.Messages[0].Icon, MessageIcon::Error);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.focus));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Child<QLineEdit>(dialog, "serverNameEdit")->text(), c.server);
        EXPECT_EQ(Child<QLineEdit>(dialog, "timeZoneEdit")->text(), c.timeZone);
        // The members already hold what was typed.
        EXPECT_EQ(dialog.m_strServerName, c.server);
        EXPECT_EQ(dialog.m_strHostName, c.host);
        EXPECT_EQ(dialog.m_strTimeZone, c.timeZone);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(result, CPorticoEditServerDlg::IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MissingFieldTest,
    testing::Values(
        MissingCase{"", "", "", "You must fill a server name", "serverNameEdit"},
        MissingCase{"", "192.0.2.1", "1", "You must fill a server name", "serverNameEdit"},
        MissingCase{"Mine", "", "", "You must fill a host name", "hostNameEdit"},
        MissingCase{"Mine", "", "1", "You must fill a host name", "hostNameEdit"},
        MissingCase{"Mine", "192.0.2.1", "", "You must fill a time zone", "timeZoneEdit"}));

// A character that Windows-1252 lacks is named and refused, not stored as '?'.
TEST_F(EditServerDlgTest, TextTheCodePageCannotHoldIsRefused)
{
    CPorticoEditServerDlg dialog(m_presenter);
    const int result = RunModal(dialog, [&] {
        Child<QLineEdit>(dialog, "serverNameEdit")->setText(QStringLiteral("Caf\u00e9 \u20ac"));
        Child<QLineEdit>(dialog, "hostNameEdit")->setText(QStringLiteral("h\u0151st.test"));
        Child<QLineEdit>(dialog, "timeZoneEdit")->setText(QStringLiteral("1"));
        Child<QPushButton>(dialog, "okButton")->click();

        ASSERT_EQ(m_presenter.Messages.size(), 1u);
        EXPECT_EQ(m_presenter.Messages[0].Text,
                  "The host name holds '\xc5\x91' (U+0151), which the games' code page "
                  "(Windows-1252) cannot hold.");
        EXPECT_EQ(m_presenter.Messages[0].Icon, MessageIcon::Error);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("hostNameEdit"));

        Child<QLineEdit>(dialog, "hostNameEdit")->setText(QStringLiteral("host.test"));
        Child<QPushButton>(dialog, "okButton")->click();
    });
    EXPECT_EQ(result, CPorticoEditServerDlg::IDOK);
    EXPECT_EQ(dialog.m_strServerName, "Caf\xe9 \x80");
    EXPECT_EQ(dialog.m_strHostName, "host.test");
}

TEST_F(EditServerDlgTest, EmptyFieldGetsItsHelpWhenTheFocusMovesThere)
{
    CPorticoEditServerDlg dialog(m_presenter);
    dialog.m_strServerName = "Mine";
    RunModal(dialog, [&] {
        QPushButton* ok = Child<QPushButton>(dialog, "okButton");
        ok->setFocus();
        ok->click();
        CBalloonHelp* balloon = WaitForBalloon(dialog, "Host name");
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(balloon->Anchor(), CentreOf(Child<QLineEdit>(dialog, "hostNameEdit")));
    });
}

struct AcceptedCase {
    const char* label;
    std::string server;
    std::string host;
    std::string timeZone;
};

void PrintTo(const AcceptedCase& c, std::ostream* out)
{
    *out << c.label;
}

class AcceptedTextTest : public EditServerDlgTest,
                         public testing::WithParamInterface<AcceptedCase> {};

TEST_P(AcceptedTextTest, AnyNonEmptyTextsComeBackUnchanged)
{
    const AcceptedCase& c = GetParam();
    CPorticoEditServerDlg dialog(m_presenter);
    dialog.m_strServerName = c.server;
    dialog.m_strHostName = c.host;
    dialog.m_strTimeZone = c.timeZone;
    const int result = RunModal(dialog, [&] {
        // Through the default button, as Enter in a field does.
        QTest::keyClick(Child<QLineEdit>(dialog, "timeZoneEdit"), Qt::Key_Return);
    });
    EXPECT_EQ(result, CPorticoEditServerDlg::IDOK);
    EXPECT_TRUE(m_presenter.Messages.empty());
    EXPECT_EQ(dialog.m_strServerName, c.server);
    EXPECT_EQ(dialog.m_strHostName, c.host);
    EXPECT_EQ(dialog.m_strTimeZone, c.timeZone);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedTextTest,
    testing::Values(AcceptedCase{"blanks", " ", "  ", "   "},
                    AcceptedCase{"letters", "Mine", "192.0.2.1", "abc"},
                    AcceptedCase{"plus", "Mine", "192.0.2.1", "+1"},
                    AcceptedCase{"fraction", "Mine", "192.0.2.1", "1.5"},
                    AcceptedCase{"minus", "Mine", "192.0.2.1", "-12"},
                    AcceptedCase{"long", std::string(40000, 'x'), std::string(3000, 'h'), "1"},
                    // 8-bit names and the control bytes that games use for colours.
                    AcceptedCase{"ansi", "Caf\xE9 \x80uro\x9F", "h\xF4te.example",
                                 "\x04\x06\x07"}));

TEST_F(EditServerDlgTest, FieldsShowTheMembersInTheGamesCodePage)
{
    CPorticoEditServerDlg dialog(m_presenter);
    dialog.m_strServerName = "Caf\xE9 \x80";
    dialog.m_strHostName = "198.51.100.7";
    dialog.m_strTimeZone = "-1";
    RunModal(dialog, [&] {
        EXPECT_EQ(Child<QLineEdit>(dialog, "serverNameEdit")->text(),
                  QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
        EXPECT_EQ(Child<QLineEdit>(dialog, "hostNameEdit")->text(), "198.51.100.7");
        EXPECT_EQ(Child<QLineEdit>(dialog, "timeZoneEdit")->text(), "-1");
    });
}

TEST_F(EditServerDlgTest, RunningAgainShowsTheTextsOfTheLastOk)
{
    CPorticoEditServerDlg dialog(m_presenter);
    const auto type = [&](const char* server, const char* host, const char* timeZone) {
        Child<QLineEdit>(dialog, "serverNameEdit")->setText(server);
        Child<QLineEdit>(dialog, "hostNameEdit")->setText(host);
        Child<QLineEdit>(dialog, "timeZoneEdit")->setText(timeZone);
    };
    const auto shown = [&] {
        return Child<QLineEdit>(dialog, "serverNameEdit")->text() + "|" +
               Child<QLineEdit>(dialog, "hostNameEdit")->text() + "|" +
               Child<QLineEdit>(dialog, "timeZoneEdit")->text();
    };

    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           type("Mine", "192.0.2.5", "1");
                           Child<QPushButton>(dialog, "okButton")->click();
                       }),
              CPorticoEditServerDlg::IDOK);
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           EXPECT_EQ(shown(), "Mine|192.0.2.5|1");
                           EXPECT_EQ(QApplication::focusWidget()->objectName(), "serverNameEdit");
                           type("Other", "203.0.113.9", "2");
                           Child<QPushButton>(dialog, "cancelButton")->click();
                       }),
              CPorticoEditServerDlg::IDCANCEL);
    EXPECT_EQ(dialog.m_strServerName, "Mine");
    RunModal(dialog, [&] { EXPECT_EQ(shown(), "Mine|192.0.2.5|1"); });
}

TEST_F(EditServerDlgTest, OpeningShowsTheServerNameHelpAtTheFieldsCentre)
{
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] {
        CBalloonHelp* balloon = WaitForBalloon(dialog, "Server name");
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(balloon->Anchor(), CentreOf(Child<QLineEdit>(dialog, "serverNameEdit")));
        EXPECT_EQ(balloon->Content(),
                  "Enter here a name which will be displayed under Battle Net Server List.\n\n"
                  "Examples:\nMy private server\nOfficial Europe Battle Net Server");
        const std::uint32_t wanted = BALLOON_CLOSE_ON_KEY | BALLOON_CLOSE_ON_MOUSE_MOVE |
                                     BALLOON_NO_FADE_OUT | BALLOON_DELETE_ON_CLOSE;
        EXPECT_EQ(balloon->Options() & ~BALLOON_NO_FADE_IN, wanted);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "serverNameEdit");
        EXPECT_EQ(QApplication::activeWindow(), &dialog);
        // Showing the window and its activation both hand the focus to the field: one help.
        EXPECT_EQ(VisibleBalloons(dialog), 1);
    });
}

struct HelpCase {
    const char* button;
    const char* edit;
    const char* title;
};

void PrintTo(const HelpCase& c, std::ostream* out)
{
    *out << c.button;
}

class HelpButtonTest : public EditServerDlgTest, public testing::WithParamInterface<HelpCase> {};

TEST_P(HelpButtonTest, QuestionMarkPointsAtTheFieldNotAtTheButton)
{
    const HelpCase& c = GetParam();
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] {
        ASSERT_NE(WaitForBalloon(dialog, "Server name"), nullptr);
        for (CBalloonHelp* balloon : dialog.findChildren<CBalloonHelp*>())
            delete balloon;
        QTest::mouseClick(Child<QPushButton>(dialog, c.button), Qt::LeftButton);
        CBalloonHelp* balloon = WaitForBalloon(dialog, c.title);
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(balloon->Anchor(), CentreOf(Child<QLineEdit>(dialog, c.edit)));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, HelpButtonTest,
    testing::Values(HelpCase{"serverNameHelpButton", "serverNameEdit", "Server name"},
                    HelpCase{"hostNameHelpButton", "hostNameEdit", "Host name"},
                    HelpCase{"timeZoneHelpButton", "timeZoneEdit", "TimeZone"}));

TEST_F(EditServerDlgTest, HostNameExamplesUseDocumentationAddresses)
{
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] {
        QTest::mouseClick(Child<QPushButton>(dialog, "hostNameHelpButton"), Qt::LeftButton);
        CBalloonHelp* balloon = WaitForBalloon(dialog, "Host name");
        ASSERT_NE(balloon, nullptr);
        const QRegularExpression format(QStringLiteral(
            "^Enter here the IP adress or complete network name of the Battle Net Server\\.\\n\\n"
            "Examples:\\n(\\S+) for 1st private server in Zembla\\n"
            "(\\S+) for 2nd private server in Zembla$"));
        const QRegularExpressionMatch match = format.match(balloon->Content());
        ASSERT_TRUE(match.hasMatch()) << balloon->Content().toStdString();
        const QRegularExpression documentation(QStringLiteral(
            "^(192\\.0\\.2|198\\.51\\.100|203\\.0\\.113)\\.(25[0-5]|2[0-4]\\d|1?\\d?\\d)$"));
        EXPECT_TRUE(documentation.match(match.captured(1)).hasMatch());
        EXPECT_TRUE(documentation.match(match.captured(2)).hasMatch());
        EXPECT_NE(match.captured(1), match.captured(2));
    });
}

TEST_F(EditServerDlgTest, TabClosesTheHelpAndTheNextFieldShowsItsOwn)
{
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] {
        QPointer<CBalloonHelp> server = WaitForBalloon(dialog, "Server name");
        ASSERT_TRUE(server);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "hostNameEdit");
        ASSERT_NE(WaitForBalloon(dialog, "Host name"), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.isNull(); }, kWaitMs));
        EXPECT_EQ(VisibleBalloons(dialog), 1);
    });
}

TEST_F(EditServerDlgTest, MnemonicMovesTheFocusToItsField)
{
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] {
        QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "timeZoneEdit");
        EXPECT_NE(WaitForBalloon(dialog, "TimeZone"), nullptr);
    });
}

TEST_F(EditServerDlgTest, TabOrderFollowsTheTemplate)
{
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] {
        QStringList order;
        for (int i = 0; i < 9; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(order, (QStringList{"serverNameEdit", "hostNameEdit", "timeZoneEdit", "okButton",
                                      "cancelButton", "serverNameHelpButton", "hostNameHelpButton",
                                      "timeZoneHelpButton", "serverNameEdit"}));
    });
}

TEST_F(EditServerDlgTest, BalloonsGoWithTheDialogWindow)
{
    CPorticoEditServerDlg dialog(m_presenter);
    RunModal(dialog, [&] { ASSERT_NE(WaitForBalloon(dialog, "Server name"), nullptr); });
    EXPECT_TRUE(dialog.findChildren<CBalloonHelp*>().isEmpty());
}

TEST_F(EditServerDlgTest, ControlsCarryTheirTextsAndProportions)
{
    CPorticoEditServerDlg dialog(m_presenter);
    EXPECT_EQ(dialog.windowTitle(), "Server properties");
    EXPECT_EQ(Child<QLabel>(dialog, "serverNameLabel")->text(), "&Server name :");
    EXPECT_EQ(Child<QLabel>(dialog, "hostNameLabel")->text(), "&Host name :");
    EXPECT_EQ(Child<QLabel>(dialog, "timeZoneLabel")->text(), "&Timezone :");
    EXPECT_EQ(Child<QPushButton>(dialog, "cancelButton")->text(), "Cancel");
    EXPECT_TRUE(Child<QPushButton>(dialog, "okButton")->isDefault());
    EXPECT_EQ(Child<QFrame>(dialog, "separator")->frameShape(), QFrame::HLine);
    // Fixed size, 274 by 94 template units; the time zone field is the narrow one.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    const int server = Child<QLineEdit>(dialog, "serverNameEdit")->width();
    EXPECT_NEAR(dialog.width() * 146.0 / 274.0, server, 2.0);
    EXPECT_NEAR(server * 32.0 / 146.0, Child<QLineEdit>(dialog, "timeZoneEdit")->width(), 2.0);
    for (const char* name : {"serverNameHelpButton", "hostNameHelpButton", "timeZoneHelpButton"})
        EXPECT_EQ(Child<QPushButton>(dialog, name)->text(), "?");
}
} // namespace
