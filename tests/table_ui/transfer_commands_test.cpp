// The board transfers without a board: every command that needs the port
// refuses with the same warning before it changes anything.

#include "table/ui/board_transfers.h"
#include "table/ui/tws_dialog.h"
#include "table_ui_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace quvan::table_ui {
namespace {

class TransferCommandsWithoutPort : public TableUiTest {};

TEST_F(TransferCommandsWithoutPort, EachCommandWarnsAndChangesNothing) {
    Start();
    ASSERT_FALSE(program->boardLink().ComPort.PortOpen);
    FillRow(1, "TV");
    main().SetTableModified(true);
    main().appendLog("kept");
    w().cmbSendText->setCurrentText("Ver");

    // Read-back: refused before File New could empty the table.
    w().btnTableLoad->click();
    w().btnTableWrite->click();
    w().btnTest->click();
    w().btnSend->click();
    ASSERT_EQ(shown.size(), 4u);
    for (const ShownBox& box : shown) {
        EXPECT_EQ(box.kind, 1);
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.text, "QUVANと通信出来ません。");
    }
    EXPECT_EQ(table().cell(1, ColComments), "TV");
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_FALSE(program->frmTws().isVisible());
    EXPECT_FALSE(program->boardTransfers().readBackRunning());
    EXPECT_EQ(main().logText(), "kept"); // registration clears it only with a port
    EXPECT_EQ(w().cmbSendText->count(), 0);
}

TEST_F(TransferCommandsWithoutPort, EnterRemembersTheTextOnceAndClearEmptiesTheLog) {
    Start();
    QComboBox* box = w().cmbSendText;
    box->setCurrentText("Ver");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    box->setCurrentText("Ver");
    QTest::keyClick(box->lineEdit(), Qt::Key_Enter);
    box->setCurrentText("T");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    box->setCurrentText("");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return); // empty: nothing
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), "Ver");
    EXPECT_EQ(box->itemText(1), "T");
    EXPECT_TRUE(shown.empty()); // Enter sends nothing, so no warning either

    main().appendLog("a line");
    w().btnRecvClear->click();
    EXPECT_TRUE(main().logText().isEmpty());
}

TEST_F(TransferCommandsWithoutPort, TheRegistrationDialogAsCreated) {
    Start();
    TfrmTws& tws = program->frmTws();
    EXPECT_EQ(tws.objectName(), "frmTws");
    EXPECT_EQ(tws.windowTitle(), "QUVAN Learning Table Write");
    EXPECT_TRUE(tws.isModal());
    EXPECT_EQ(tws.Label1->text(), "学習情報をＱＵＶＡＮに登録します。");
    EXPECT_TRUE(tws.Label1->font().bold());
    EXPECT_EQ(tws.btnCancel->text(), "中止");
    EXPECT_EQ(tws.rbWriteAll->text(), "全ての行を登録");
    EXPECT_EQ(tws.rbWriteOne->text(), "現カーソル行のみ登録");
    EXPECT_EQ(tws.rbSpcSkip->text(), "空白行はスキップ");
    EXPECT_EQ(tws.rbSpcDel->text(), "空白行は削除");
    EXPECT_EQ(tws.lblStartMsg->text(),
              "準備ができましたら、「登録実行」ボタンをクリックして下さい。");
    EXPECT_EQ(tws.sBarPanels[0]->width(), 80);
    EXPECT_EQ(tws.sBarPanels[1]->width(), 100);
    // Esc or the close box while idle closes it as Cancel.
    QTimer::singleShot(0, [&tws] { tws.reject(); });
    EXPECT_EQ(tws.exec(), QDialog::Rejected);
}

} // namespace
} // namespace quvan::table_ui
