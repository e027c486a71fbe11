#include "about/CPorticoAboutDlg.h"

#include "about/AbsentMessenger.h"
#include "about/LinkButton.h"
#include "about/SystemVersion.h"

#include "FakeMessenger.h"
#include "ModalDialogTest.h"
#include "RecordingPresenter.h"
#include "RecordingUrlOpener.h"
#include "TestApplication.h"

#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {
using ModalDialogTest::Child;
using ModalDialogTest::RunModal;

class AboutDlgTest : public testing::Test {
protected:
    void SetUp() override { EnsureTestApplication(); }

    // How many of the button's pixels are drawn in exactly this colour.
    static int PixelsOf(LinkButton* button, const QColor& colour)
    {
        const QImage image = button->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
        }
        return count;
    }

    RecordingUrlOpener m_urlOpener;
    RecordingPresenter m_presenter;
    AbsentMessenger m_absentMessenger;
};

TEST_F(AboutDlgTest, ShowsTheVersionInformationAndTheSystem)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    EXPECT_EQ(dialog.windowTitle(), "About Portico");
    EXPECT_EQ(Child<QLabel>(dialog, "descriptionLabel")->text(), "Portico");
    EXPECT_EQ(Child<QLabel>(dialog, "versionCaptionLabel")->text(), "Version");
    EXPECT_EQ(Child<QLabel>(dialog, "fileVersionLabel")->text(), "2.0 Beta");
    EXPECT_EQ(Child<QLabel>(dialog, "copyrightLabel")->text(), "Copyright (C) Ferryman");
    // The system's name, cut short with an ellipsis when it is longer than its line.
    QLabel* osVersion = Child<QLabel>(dialog, "osVersionLabel");
    const QString system = QString::fromStdString(GetOsVersionText());
    const QString shown = osVersion->text();
    EXPECT_TRUE(shown == system ||
                (shown.endsWith(QChar(0x2026)) && system.startsWith(shown.chopped(1))))
        << shown.toStdString();
    EXPECT_LE(osVersion->fontMetrics().horizontalAdvance(shown), osVersion->width());
    EXPECT_EQ(osVersion->toolTip(), Qt::convertFromPlainText(system));
    EXPECT_FALSE(system.startsWith("Unknown system")) << system.toStdString();
    EXPECT_EQ(Child<QLabel>(dialog, "legalNoticeLabel")->text(),
              "This program is protected by copyright law and by international treaties. Anyone "
              "who copies it or passes it on, in whole or in part, without the author's leave "
              "may be prosecuted.");
    for (const char* name : {"descriptionLabel", "fileVersionLabel", "copyrightLabel",
                             "osVersionLabel", "legalNoticeLabel"})
        EXPECT_EQ(Child<QLabel>(dialog, name)->textFormat(), Qt::PlainText) << name;

    QLabel* picture = Child<QLabel>(dialog, "pictureLabel");
    EXPECT_EQ(picture->pixmap().size(), QSize(70, 70));
    EXPECT_EQ(picture->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(picture->contentsRect().size(), QSize(70, 70));
    EXPECT_LT(picture->geometry().right(), Child<QLabel>(dialog, "descriptionLabel")->x());
    EXPECT_EQ(Child<QFrame>(dialog, "separator")->frameShape(), QFrame::HLine);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(AboutDlgTest, TitleTextAndSmallFonts)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    const QFont title = Child<QLabel>(dialog, "descriptionLabel")->font();
    EXPECT_EQ(title.pixelSize(), 14);
    EXPECT_TRUE(QFontInfo(title).bold());
    EXPECT_FALSE(QFontInfo(title).fixedPitch());
    for (const char* name : {"versionCaptionLabel", "fileVersionLabel", "copyrightLabel"}) {
        const QFont text = Child<QLabel>(dialog, name)->font();
        EXPECT_EQ(text.pixelSize(), 14) << name;
        EXPECT_TRUE(QFontInfo(text).fixedPitch()) << name;
    }
    const QFont small = Child<QLabel>(dialog, "legalNoticeLabel")->font();
    EXPECT_EQ(small.pixelSize(), 11);
    EXPECT_EQ(small.weight(), QFont::Thin);
    EXPECT_EQ(Child<QLabel>(dialog, "osVersionLabel")->font(), dialog.font());
}

TEST_F(AboutDlgTest, LinkButtonsTakeTheSizeOfTheirContent)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    LinkButton* mail = Child<LinkButton>(dialog, "mailLinkButton");
    LinkButton* messenger = Child<LinkButton>(dialog, "messengerLinkButton");
    EXPECT_EQ(mail->text(), "ferryman@example.com");
    EXPECT_EQ(mail->toolTip(), "Send a mail to ferryman");
    EXPECT_EQ(messenger->text(), "Ferryman on MSN");
    EXPECT_EQ(messenger->toolTip(), "Send an instant message to Ferryman");
    for (LinkButton* link : {mail, messenger}) {
        const QFontMetrics metrics(link->font());
        EXPECT_EQ(link->iconSize(), QSize(16, 16));
        EXPECT_EQ(link->width(), 16 + metrics.horizontalAdvance(link->text()) + 20);
        EXPECT_EQ(link->height(), std::max(metrics.height(), 16 + 10));
        EXPECT_TRUE(link->isFlat());
        EXPECT_FALSE(link->autoDefault());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        // In the column of the texts above them, the messenger's under the mail's.
        EXPECT_EQ(link->x(), Child<QLabel>(dialog, "copyrightLabel")->x());
    }
    EXPECT_GT(messenger->y(), mail->geometry().bottom());
}

TEST_F(AboutDlgTest, LinkTurnsPureBlueUnderTheMouse)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    RunModal(dialog, [&] {
        LinkButton* mail = Child<LinkButton>(dialog, "mailLinkButton");
        const QColor highlight = mail->palette().color(QPalette::Highlight);
        const QColor blue(0, 0, 255);
        ASSERT_NE(highlight, blue);
        EXPECT_EQ(mail->TextColor(), highlight);
        EXPECT_GT(PixelsOf(mail, highlight), 0);
        EXPECT_EQ(PixelsOf(mail, blue), 0);

        QTest::mouseMove(mail, mail->rect().center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return mail->TextColor() == blue; }, 5000));
        EXPECT_GT(PixelsOf(mail, blue), 0);

        QTest::mouseMove(&dialog, QPoint(1, dialog.height() - 2));
        EXPECT_TRUE(QTest::qWaitFor([&] { return mail->TextColor() == highlight; }, 5000));
    });
}

TEST_F(AboutDlgTest, MailLinkOpensAMailToTheAuthor)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    RunModal(dialog, [&] {
        QTest::mouseClick(Child<LinkButton>(dialog, "mailLinkButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(m_urlOpener.Opened,
              QList<QUrl>{QUrl(QStringLiteral("mailto:ferryman@example.com?subject=Portico"))});
    EXPECT_TRUE(m_presenter.Messages.empty());
}

TEST_F(AboutDlgTest, WithoutAMessengerEachClickSaysItIsNotInstalled)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    RunModal(dialog, [&] {
        LinkButton* link = Child<LinkButton>(dialog, "messengerLinkButton");
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
    });
    ASSERT_EQ(m_presenter.Messages.size(), 2u);
    for (const RecordingPresenter::Shown& shown : m_presenter.Messages) {
        EXPECT_EQ(shown.Text, "MSN/Windows Messenger doesn't appear to be installed on your "
                              "system.\nSorry ;-)");
        EXPECT_EQ(shown.Icon, MessageIcon::Warning);
    }
    EXPECT_TRUE(m_urlOpener.Opened.isEmpty());
}

TEST_F(AboutDlgTest, ConnectedMessengerOpensAConversationSilently)
{
    FakeMessenger messenger;
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, messenger);
    RunModal(dialog, [&] {
        QTest::mouseClick(Child<LinkButton>(dialog, "messengerLinkButton"), Qt::LeftButton);
    });
    EXPECT_EQ(messenger.Conversations, std::vector<std::string>{"ferryman@example.com"});
    EXPECT_EQ(messenger.Alive, 0);
    EXPECT_TRUE(m_presenter.Messages.empty());
}

TEST_F(AboutDlgTest, OpensOnTheMailLinkAndEnterClosesThroughOk)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    const int result = RunModal(dialog, [&] {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "mailLinkButton");
        EXPECT_TRUE(Child<QPushButton>(dialog, "okButton")->isDefault());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(result, CPorticoAboutDlg::IDOK);
    EXPECT_TRUE(m_urlOpener.Opened.isEmpty());
}

TEST_F(AboutDlgTest, TabWalksTheLinksAndOk)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    RunModal(dialog, [&] {
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(order, (QStringList{"mailLinkButton", "messengerLinkButton", "okButton",
                                      "mailLinkButton"}));
    });
}

struct CloseCase {
    const char* label;
    std::function<void(CPorticoAboutDlg&)> close;
    int result;
};

void PrintTo(const CloseCase& c, std::ostream* out)
{
    *out << c.label;
}

class AboutCloseTest : public AboutDlgTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(AboutCloseTest, EndsWithItsResult)
{
    CPorticoAboutDlg dialog(m_urlOpener, m_presenter, m_absentMessenger);
    EXPECT_EQ(RunModal(dialog, [&] { GetParam().close(dialog); }), GetParam().result);
    EXPECT_FALSE(dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutCloseTest,
    testing::Values(CloseCase{"OK",
                              [](CPorticoAboutDlg& dialog) {
                                  QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"),
                                                    Qt::LeftButton);
                              },
                              CPorticoAboutDlg::IDOK},
                    CloseCase{"Escape",
                              [](CPorticoAboutDlg&) {
                                  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                              },
                              CPorticoAboutDlg::IDCANCEL},
                    CloseCase{"close box", [](CPorticoAboutDlg& dialog) { dialog.close(); },
                              CPorticoAboutDlg::IDCANCEL}));
} // namespace
