#include "PorticoFixture.h"
#include "ScriptedServerDialog.h"

#include "app/CPorticoApp.h"
#include "dialogs/AnsiText.h"
#include "dialogs/CPorticoEditServerDlg.h"
#include "doc/CPorticoView.h"
#include "doc/ServerListModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
constexpr char kNameExists[] = "The server name already exists. Please choose another name.";
} // namespace

class ServerListViewTest : public PorticoFixture {
protected:
    void SetUp() override
    {
        PorticoFixture::SetUp();
        ASSERT_TRUE(StartWith({Game::Starcraft, Game::Diablo}));
    }
};

TEST_F(ServerListViewTest, AddAppendsTheServerToMemoryAndARowAtTheEnd)
{
    dialog.Answers = {{"New Realm", "new.test", "4"}};
    Command("ID_SERVER_ADD").trigger();

    ASSERT_EQ(dialog.OpenedWith.size(), 1u);
    EXPECT_EQ(dialog.OpenedWith[0], (ScriptedServerDialog::Fields{"", "", ""}));
    ASSERT_EQ(Memory().size(), 4u);
    EXPECT_EQ(Memory().back(), (Row{"New Realm", "new.test", "4", "", ""}));
    EXPECT_EQ(Rows(), Memory());
    EXPECT_TRUE(presenter.Messages.empty());
}

TEST_F(ServerListViewTest, AddCancelledChangesNothing)
{
    const std::vector<Row> before = Memory();
    Command("ID_SERVER_ADD").trigger();

    EXPECT_EQ(dialog.OpenedWith.size(), 1u);
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(Rows(), before);
}

TEST_F(ServerListViewTest, ATakenNameIsRefusedAndTheSameDialogOpensAgainWithWhatWasTyped)
{
    // The comparison is exact: a name that differs in case alone is free.
    dialog.Answers = {{"Pacific Ladder", "dup.test", "7"}, {"pacific ladder", "dup.test", "7"}};
    Command("ID_SERVER_ADD").trigger();

    ASSERT_EQ(presenter.Messages.size(), 1u);
    EXPECT_EQ(presenter.Messages[0].Text, kNameExists);
    EXPECT_EQ(presenter.Messages[0].Icon, MessageIcon::Error);
    ASSERT_EQ(dialog.OpenedWith.size(), 2u);
    EXPECT_EQ(dialog.Dialogs[0], dialog.Dialogs[1]);
    EXPECT_EQ(dialog.OpenedWith[1],
              (ScriptedServerDialog::Fields{"Pacific Ladder", "dup.test", "7"}));
    ASSERT_EQ(Memory().size(), 4u);
    EXPECT_EQ(Memory().back(), (Row{"pacific ladder", "dup.test", "7", "", ""}));
    EXPECT_EQ(Rows(), Memory());
}

TEST_F(ServerListViewTest, GivingUpAfterATakenNameAddsNothing)
{
    const std::vector<Row> before = Memory();
    dialog.Answers = {{"Atlantic Ladder", "x.test", "1"}};
    Command("ID_SERVER_ADD").trigger();

    EXPECT_EQ(dialog.OpenedWith.size(), 2u);
    EXPECT_THAT(MessageTexts(), ElementsAre(kNameExists));
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(Rows(), before);
}

TEST_F(ServerListViewTest, EditOpensWithTheRowAndChangesOnlyTheThreeTexts)
{
    GameInfo& game = *App().m_selection.game();
    game.Servers[2].PingTime = "42";
    game.Servers[2].Status = "Reply";
    View().RefreshList();
    SelectRow(2);
    dialog.Answers = {{"Bern", "bern.test", "2"}};
    Command("ID_SERVER_EDIT").trigger();

    ASSERT_EQ(dialog.OpenedWith.size(), 1u);
    EXPECT_EQ(dialog.OpenedWith[0],
              (ScriptedServerDialog::Fields{"Z\xfcrich Caf\xe9", "198.51.100.23", "1"}));
    EXPECT_EQ(Memory()[2], (Row{"Bern", "bern.test", "2", "42", "Reply"}));
    EXPECT_EQ(Rows(), Memory());
}

TEST_F(ServerListViewTest, EditMayGiveTheNameOfAnotherServerAndLaterEditsActOnTheirOwnRow)
{
    SelectRow(2);
    dialog.Answers = {{"Pacific Ladder", "copy.test", "0"}, {"Renamed", "third.test", "3"}};
    Command("ID_SERVER_EDIT").trigger();
    EXPECT_EQ(Memory()[0][0], "Pacific Ladder");
    EXPECT_EQ(Memory()[2][0], "Pacific Ladder");
    EXPECT_TRUE(presenter.Messages.empty());

    // The third row opens with its own server and changes it, not the first of its name.
    SelectRow(2);
    Command("ID_SERVER_EDIT").trigger();
    ASSERT_EQ(dialog.OpenedWith.size(), 2u);
    EXPECT_EQ(dialog.OpenedWith[1],
              (ScriptedServerDialog::Fields{"Pacific Ladder", "copy.test", "0"}));
    EXPECT_EQ(Memory()[0], (Row{"Pacific Ladder", "sc-west.test", "-8", "", ""}));
    EXPECT_EQ(Memory()[2], (Row{"Renamed", "third.test", "3", "", ""}));
    EXPECT_EQ(Rows(), Memory());
}

// Two servers of one name: what is saved is what the rows show, whichever of them is changed.
struct DuplicateCase {
    const char* Label;
    const char* Command;
    std::vector<std::string> Saved;
};

void PrintTo(const DuplicateCase& duplicate, std::ostream* os)
{
    *os << duplicate.Label;
}

class DuplicateNameTest : public ServerListViewTest,
                          public ::testing::WithParamInterface<DuplicateCase> {};

TEST_P(DuplicateNameTest, ThePrefixHoldsExactlyTheRowsShown)
{
    SelectRow(2);
    dialog.Answers = {{"Pacific Ladder", "copy.test", "0"}, {"Pacific Ladder", "edited.test", "7"}};
    Command("ID_SERVER_EDIT").trigger();
    SelectRow(2);
    Command(GetParam().Command).trigger();
    Command("ID_FILE_SAVE_REGISTRY").trigger();

    std::vector<std::string> shown;
    for (const Row& row : Rows())
        shown.push_back(row[0] + "|" + row[1] + "|" + row[2]);
    EXPECT_EQ(shown, GetParam().Saved);
    EXPECT_EQ(ListsInPrefix().at(0), GetParam().Saved);
}

INSTANTIATE_TEST_SUITE_P(Commands, DuplicateNameTest,
                         ::testing::Values(DuplicateCase{"Delete",
                                                         "ID_SERVER_DELETE",
                                                         {"Pacific Ladder|sc-west.test|-8",
                                                          "Atlantic Ladder|sc-east.test|-5"}},
                                           DuplicateCase{"Edit",
                                                         "ID_SERVER_EDIT",
                                                         {"Pacific Ladder|sc-west.test|-8",
                                                          "Atlantic Ladder|sc-east.test|-5",
                                                          "Pacific Ladder|edited.test|7"}}),
                         [](const ::testing::TestParamInfo<DuplicateCase>& info) {
                             return info.param.Label;
                         });

TEST_F(ServerListViewTest, EditCancelledChangesNothing)
{
    const std::vector<Row> before = Memory();
    SelectRow(0);
    Command("ID_SERVER_EDIT").trigger();

    EXPECT_EQ(dialog.OpenedWith.size(), 1u);
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(Rows(), before);
}

TEST_F(ServerListViewTest, DeleteRemovesTheServerAndItsRowWithoutAQuestion)
{
    SelectRow(1);
    Command("ID_SERVER_DELETE").trigger();

    EXPECT_TRUE(presenter.Messages.empty());
    ASSERT_EQ(Memory().size(), 2u);
    EXPECT_EQ(Memory()[0][0], "Pacific Ladder");
    EXPECT_EQ(Memory()[1][0], "Z\xfcrich Caf\xe9");
    EXPECT_EQ(Rows(), Memory());
}

TEST_F(ServerListViewTest, ClearAllEmptiesTheListInMemoryOnly)
{
    const std::string userReg = prefix.ReadFile("user.reg");
    Command("ID_SERVER_CLEAR_ALL").trigger();

    EXPECT_TRUE(Memory().empty());
    EXPECT_EQ(View().model()->rowCount(), 0);
    EXPECT_EQ(App().m_catalog[1].Servers.Size(), 3u);
    EXPECT_EQ(prefix.ReadFile("user.reg"), userReg);
    EXPECT_TRUE(presenter.Messages.empty());
}

// Tab leaves the list instead of walking its cells into the next row: the row that Edit and
// Delete act on stays the one the user picked.
TEST_F(ServerListViewTest, TabKeysLeaveTheSelectedRowAsItIs)
{
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        SCOPED_TRACE(key);
        SelectRow(1);
        for (int press = 0; press < ServerListModel::ColumnCount + 1; ++press)
            QTest::keyClick(&View(), key);
        const QModelIndexList selected = View().selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.constFirst().row(), 1);
    }
}

// Home and End select the first and last row, as in a list.
TEST_F(ServerListViewTest, HomeAndEndSelectTheFirstAndLastRow)
{
    const struct {
        Qt::Key Key;
        int Row;
    } moves[] = {{Qt::Key_End, 2}, {Qt::Key_Home, 0}};
    for (const auto& move : moves) {
        SCOPED_TRACE(move.Key);
        SelectRow(1);
        QTest::keyClick(&View(), move.Key);
        const QModelIndexList selected = View().selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.constFirst().row(), move.Row);
    }
}

struct Activation {
    const char* Label;
    void (*Act)(CPorticoView& view, int row);
};

void PrintTo(const Activation& activation, std::ostream* os)
{
    *os << activation.Label;
}

class RowActivationTest : public ServerListViewTest,
                          public ::testing::WithParamInterface<Activation> {};

TEST_P(RowActivationTest, EditsTheSelectedRowAndDoesNothingWithoutOne)
{
    View().clearSelection();
    GetParam().Act(View(), -1);
    EXPECT_TRUE(dialog.OpenedWith.empty());

    GetParam().Act(View(), 1);
    ASSERT_EQ(dialog.OpenedWith.size(), 1u);
    EXPECT_EQ(dialog.OpenedWith[0],
              (ScriptedServerDialog::Fields{"Atlantic Ladder", "sc-east.test", "-5"}));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, RowActivationTest,
    ::testing::Values(Activation{"Enter",
                                 [](CPorticoView& view, int row) {
                                     if (row >= 0)
                                         view.selectRow(row);
                                     QTest::keyClick(&view, Qt::Key_Enter);
                                 }},
                      Activation{"Return",
                                 [](CPorticoView& view, int row) {
                                     if (row >= 0)
                                         view.selectRow(row);
                                     QTest::keyClick(&view, Qt::Key_Return);
                                 }},
                      Activation{"DoubleClick",
                                 [](CPorticoView& view, int row) {
                                     // Below the last row when no row is meant.
                                     const QRect cell =
                                         view.visualRect(view.model()->index(std::max(row, 0), 0));
                                     const QPoint point =
                                         row >= 0 ? cell.center()
                                                  : QPoint(cell.center().x(),
                                                           view.viewport()->height() - 2);
                                     QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, point);
                                 }}),
    [](const ::testing::TestParamInfo<Activation>& info) { return info.param.Label; });

TEST_F(ServerListViewTest, OnlyTheLeftButtonsDoubleClickOpensARow)
{
    SelectRow(1);
    const QPoint cell = View().visualRect(View().model()->index(1, 0)).center();
    for (const Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
        SCOPED_TRACE(button);
        QTest::mouseDClick(View().viewport(), button, {}, cell);
    }
    EXPECT_TRUE(dialog.OpenedWith.empty());

    QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(dialog.OpenedWith.size(), 1u);
}

// The real dialog, typed into through its fields: 8-bit and control bytes reach it as the
// game shows them and come back unchanged.
TEST_F(ServerListViewTest, TheRealDialogKeepsEveryByteOfAName)
{
    dialog.Instead = [](CPorticoEditServerDlg& real) { return real.DoModal(); };
    GameButtons().at(1)->click();
    const std::string colourName = "\x04Gold\x07 Realm\x06";
    ASSERT_EQ(Memory()[2][0], colourName);
    SelectRow(2);

    QString shownName;
    QTimer::singleShot(0, [&shownName] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        shownName = modal->findChild<QLineEdit*>(QStringLiteral("serverNameEdit"))->text();
        modal->findChild<QLineEdit*>(QStringLiteral("hostNameEdit"))
            ->setText(QStringLiteral("gold.test"));
        modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    Command("ID_SERVER_EDIT").trigger();

    EXPECT_EQ(shownName, AnsiText::ToQString(colourName));
    EXPECT_EQ(Memory()[2], (Row{colourName, "gold.test", "-6", "", ""}));
    EXPECT_EQ(Rows(), Memory());
}
