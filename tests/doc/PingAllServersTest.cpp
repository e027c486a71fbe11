#include "PorticoFixture.h"
#include "TestNetwork.h"

#include "app/CMainFrame.h"
#include "app/CPorticoApp.h"
#include "data/ErrorCodes.h"
#include "data/ErrorTextTable.h"
#include "data/Util.h"
#include "dialogs/CPorticoEditServerDlg.h"
#include "doc/CPorticoView.h"
#include "doc/ServerListModels.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <gmock/gmock.h>

using ::testing::MatchesRegex;

namespace {
// A probe of a silent host ends at the time-out of five seconds.
constexpr int kRunMs = 20000;

std::string Text(std::uint32_t code)
{
    return Util::FormatErrorMessage(ErrorTextTable::Shared(), code);
}
} // namespace

// "Ping all servers" in the real window, against test hosts in network namespaces of the test's
// own: one that answers, one that never does, and a name that does not resolve.
class PingAllServersTest : public PorticoFixture {
protected:
    void SetUp() override
    {
        const std::string reason = TestNetwork::EnterPrivateNamespaces();
        if (!reason.empty())
            GTEST_SKIP() << reason;
        PorticoFixture::SetUp();
        answering = network.AddHosts(1, true).front();
        silent = network.AddHosts(1, false).front();
        prefix.Install(Game::Starcraft);
        prefix.SetGateways(Game::Starcraft, {{answering, "1", "Answers"},
                                             {silent, "2", "Silent"},
                                             {"nowhere.invalid", "3", "Unknown"}});
        prefix.Install(Game::Warcraft);
        prefix.SetGateways(Game::Warcraft, SampleGateways(Game::Warcraft));
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        PorticoFixture::TearDown();
        TestNetwork::UseResolver({});
    }

    QString StatusText() const
    {
        return Frame().statusBar()->findChild<QLabel*>(QStringLiteral("messagePane"))->text();
    }

    TestNetwork network;
    std::string answering;
    std::string silent;
};

TEST_F(PingAllServersTest, RowsShowEachOutcomeAndTheWindowStaysUsableMeanwhile)
{
    QSignalSpy finished(&View(), &CPorticoView::pingFinished);
    Command("ID_SERVER_PING_ALL").trigger();

    EXPECT_FALSE(Command("ID_SERVER_PING_ALL").isEnabled());
    EXPECT_TRUE(StatusText().startsWith(QStringLiteral("Pinging "))) << StatusText().toStdString();
    // The server dialog opens and takes input while the probes wait.
    QString opened;
    dialog.Instead = [&opened](CPorticoEditServerDlg& real) {
        QTimer::singleShot(0, &real, [&real, &opened] {
            opened = real.windowTitle();
            real.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        });
        return real.DoModal();
    };
    Command("ID_SERVER_ADD").trigger();
    EXPECT_EQ(opened, QStringLiteral("Server properties"));
    EXPECT_TRUE(finished.isEmpty());

    ASSERT_TRUE(finished.wait(kRunMs));
    const std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_THAT(rows[0][3], MatchesRegex("[0-9]+"));
    EXPECT_EQ(rows[0][4], "");
    EXPECT_EQ(rows[1][3], "");
    EXPECT_EQ(rows[1][4], Text(ErrorCode::WsaTimedOut));
    EXPECT_EQ(rows[2][3], "");
    EXPECT_EQ(rows[2][4], Text(ErrorCode::WsaHostNotFound));
    // The whole status shows on hovering, however narrow its column.
    EXPECT_EQ(View().model()->index(1, 4).data(Qt::ToolTipRole).toString(),
              QString::fromStdString(rows[1][4]));
    EXPECT_EQ(Rows(), Memory());
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(Command("ID_SERVER_PING_ALL").isEnabled());
    EXPECT_TRUE(presenter.Messages.empty());
}

TEST_F(PingAllServersTest, ResultsGoToTheirServersWhateverHappensToTheRowsMeanwhile)
{
    QSignalSpy finished(&View(), &CPorticoView::pingFinished);
    Command("ID_SERVER_PING_ALL").trigger();
    // The answering server's row is deleted, a server is added after the others, and another
    // game is shown while the probes wait.
    SelectRow(0);
    Command("ID_SERVER_DELETE").trigger();
    dialog.Answers = {{"Added", "added.invalid", "4"}};
    Command("ID_SERVER_ADD").trigger();
    GameButtons().at(1)->click();
    ASSERT_TRUE(finished.wait(kRunMs));

    GameButtons().at(0)->click();
    const std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{"Silent", silent, "2", "", Text(ErrorCode::WsaTimedOut)}));
    EXPECT_EQ(rows[1],
              (Row{"Unknown", "nowhere.invalid", "3", "", Text(ErrorCode::WsaHostNotFound)}));
    EXPECT_EQ(rows[2], (Row{"Added", "added.invalid", "4", "", ""}));
}

TEST_F(PingAllServersTest, ASecondRunOverwritesAndAReloadDropsWhatIsStillUnderway)
{
    QSignalSpy finished(&View(), &CPorticoView::pingFinished);
    Command("ID_SERVER_PING_ALL").trigger();
    ASSERT_TRUE(finished.wait(kRunMs));
    ASSERT_EQ(Rows()[1][4], Text(ErrorCode::WsaTimedOut));

    // The silent server moves to the answering host; the next run replaces its texts.
    SelectRow(1);
    dialog.Answers = {{"Silent", answering, "2"}};
    Command("ID_SERVER_EDIT").trigger();
    Command("ID_SERVER_PING_ALL").trigger();
    ASSERT_TRUE(finished.wait(kRunMs));
    EXPECT_THAT(Rows()[1][3], MatchesRegex("[0-9]+"));
    EXPECT_EQ(Rows()[1][4], "");

    // A reload while a run goes on: the lists read afresh keep no result of it.
    Command("ID_SERVER_PING_ALL").trigger();
    Command("ID_FILE_RELOAD").trigger();
    ASSERT_TRUE(finished.wait(kRunMs));
    for (const Row& row : Rows()) {
        EXPECT_EQ(row[3], "") << row[0];
        EXPECT_EQ(row[4], "") << row[0];
    }
}

TEST_F(PingAllServersTest, ClosingTheWindowDuringARunEndsIt)
{
    Command("ID_SERVER_PING_ALL").trigger();
    ASSERT_TRUE(View().isPinging());
    Command("ID_APP_EXIT").trigger();
    app->ExitInstance(0);
    app.reset();
    // Nothing is left to deliver a result to the rows that are gone.
    QApplication::processEvents();
}
