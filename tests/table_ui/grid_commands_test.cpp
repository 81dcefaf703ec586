// The grid through the real main window: the pop-up menu's copy mark,
// paste, insert and delete, the two selection modes, the Enter key rules,
// the CodeCheck option and the monitor switch.

#include "table_ui_fixture.h"

#include <QApplication>
#include <QLineEdit>

namespace quvan::table_ui {
namespace {

class GridCommands : public TableUiTest {
  protected:
    void SetUp() override {
        Start();
        main().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return main().state().StartupDone; }, 5000));
    }
    void At(int row, int column = ColCarry) {
        grid().setCursor(row, column);
        ASSERT_EQ(grid().cursorRow(), row);
    }
    std::string Comment(int row) { return table().cell(row, ColComments); }
    // The open cell editor (closed ones linger until deleted later).
    QLineEdit* OpenEditor() {
        for (QLineEdit* editor : w().sGrid->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
};

TEST_F(GridCommands, TheMarkNamesARowNotItsContent) {
    for (int row = 1; row <= 4; ++row)
        FillRow(row, "row" + std::to_string(row));
    const LearnedSignal formerRow2 = table().record(2);

    // Nothing marked: the menu cannot paste.
    popup().menu().popup({0, 0});
    EXPECT_FALSE(popup().ppPaste->isEnabled());
    EXPECT_TRUE(popup().ppWaveEdit->isVisible());
    popup().menu().hide();
    EXPECT_EQ(popup().ppCopy->text(), QString::fromUtf8("コピー\u3000(&Copy)"));

    At(3);
    popup().ppCopy->trigger();
    EXPECT_EQ(popup().copyMark(), 3);
    EXPECT_TRUE(popup().ppPaste->isEnabled());

    At(2);
    popup().ppInsert->trigger(); // rows 2.. move down; row 2 is empty now
    EXPECT_EQ(Comment(2), "");
    EXPECT_EQ(Comment(3), "row2");
    EXPECT_EQ(Comment(5), "row4");
    EXPECT_EQ(grid().cursorRow(), 2);
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_EQ(main().statusPanelText(1), "変更");

    At(10);
    popup().ppPaste->trigger();
    EXPECT_EQ(Comment(10), "row2"); // what row 3 holds now, not what was copied
    EXPECT_EQ(table().cell(10, ColResult), "rrow2");
    EXPECT_EQ(table().record(10).Carry, formerRow2.Carry);
    EXPECT_EQ(table().record(10).PatternCode, formerRow2.PatternCode);

    // The mark stays for more pastes; pasting onto the marked row does nothing.
    At(11);
    popup().ppPaste->trigger();
    EXPECT_EQ(Comment(11), "row2");
    At(3);
    popup().ppPaste->trigger();
    EXPECT_EQ(Comment(3), "row2");
    EXPECT_EQ(popup().copyMark(), 3);
}

TEST_F(GridCommands, DeleteAsksAndClosesTheGap) {
    for (int row = 1; row <= 3; ++row)
        FillRow(row, "row" + std::to_string(row));
    FillRow(250, "last");
    At(2);

    answers = {false};
    popup().ppDelete->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, 2);
    EXPECT_EQ(shown[0].caption, "削除確認");
    EXPECT_EQ(shown[0].text, "現在の行を削除して前詰めにします。\nよろしいですか？");
    EXPECT_EQ(Comment(2), "row2");
    EXPECT_FALSE(main().state().TableModified);

    answers = {true};
    popup().ppDelete->trigger();
    EXPECT_EQ(Comment(1), "row1");
    EXPECT_EQ(Comment(2), "row3");
    EXPECT_EQ(table().record(2).Carry, 383);
    EXPECT_EQ(Comment(249), "last");
    EXPECT_TRUE(table().isBlank(250));
    EXPECT_EQ(grid().cursorRow(), 2);
    EXPECT_TRUE(main().state().TableModified);

    // Insert at the last row only empties it.
    FillRow(250, "new last");
    At(250);
    popup().ppInsert->trigger();
    EXPECT_EQ(Comment(249), "last");
    EXPECT_TRUE(table().isBlank(250));
    EXPECT_EQ(Comment(2), "row3");
}

TEST_F(GridCommands, ColumnsAreSetUpAndTheRestIsShared) {
    QTableView& view = *w().sGrid;
    EXPECT_EQ(view.model(), &commands().model());
    EXPECT_EQ(view.columnWidth(0), 40);
    EXPECT_EQ(view.columnWidth(1), 64);
    EXPECT_EQ(view.columnWidth(2), 48);
    // Set-up: rest = 800 - 152 - 27 = 621; Result a third (207), Comments the remainder.
    view.resize(800, view.height());
    grid().setInitialColumnWidths();
    EXPECT_EQ(view.columnWidth(3), 414);
    EXPECT_EQ(view.columnWidth(4), 207);
    EXPECT_EQ(view.model()->headerData(3, Qt::Horizontal).toString(), "Comments");

    // In the window, Comments gets a quarter of what the grid has left.
    main().resize(900, main().height());
    QTest::qWait(20);
    const int rest = view.width() - 27 - 40 - 64 - 48;
    ASSERT_GT(rest, 400);
    EXPECT_EQ(view.columnWidth(3), rest / 4);
    EXPECT_EQ(view.columnWidth(4), rest - rest / 4);
}

TEST_F(GridCommands, CarryColumnSelectsRowsOtherColumnsEditCells) {
    QTableView& view = *w().sGrid;
    At(4, ColCarry);
    EXPECT_EQ(view.property("tag").toInt(), 0);
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view.selectionModel()->selectedIndexes().size(), 4); // columns 1..4

    At(4, ColComments);
    EXPECT_EQ(view.property("tag").toInt(), 1);
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_NE(view.editTriggers(), QAbstractItemView::NoEditTriggers);

    // The label column never holds the cursor.
    view.setCurrentIndex(commands().model().index(6, 0));
    EXPECT_EQ(grid().cursorRow(), 7);
    EXPECT_EQ(grid().cursorColumn(), ColCarry);

    // Delete empties a text cell.
    table().setCell(7, ColFrames, "3");
    At(7, ColFrames);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(table().cell(7, ColFrames), "");
}

TEST_F(GridCommands, EnterInCommentsMovesDownAndInCarryOpensTheMenu) {
    QTableView& view = *w().sGrid;
    At(5, ColComments);
    view.edit(view.currentIndex());
    QLineEdit* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "TV,1");
    EXPECT_EQ(editor->text(), QString::fromUtf8("TV，1")); // as the file can hold it
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Comment(5), "TV\xEF\xBC\x8C"
                          "1");
    EXPECT_EQ(grid().cursorRow(), 6);
    EXPECT_EQ(grid().cursorColumn(), ColComments);
    EXPECT_TRUE(main().state().TableModified);

    // On the last row Enter only finishes the cell.
    At(250, ColResult);
    view.edit(view.currentIndex());
    editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "end");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(table().cell(250, ColResult), "end");
    EXPECT_EQ(grid().cursorRow(), 250);

    At(8, ColCarry);
    EXPECT_FALSE(popup().menu().isVisible());
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_TRUE(popup().menu().isVisible());
    // It opens below the grid's Carry column.
    const QPoint corner = view.mapToGlobal(QPoint(0, 0));
    EXPECT_GE(popup().menu().y(), corner.y() + view.height() - 1);
    popup().menu().hide();

    // Enter in a text column without an open editor opens nothing.
    At(8, ColComments);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_FALSE(popup().menu().isVisible());
}

TEST_F(GridCommands, CodeCheckGoesToTheTopFromAnEmptyRow) {
    w().ckLearningMsg->setChecked(true);
    At(7, ColComments);
    w().ckCodeCheck->setChecked(true);
    EXPECT_FALSE(w().ckLearningMsg->isChecked());
    EXPECT_EQ(grid().cursorRow(), 1);
    EXPECT_EQ(grid().cursorColumn(), ColCarry);

    w().ckCodeCheck->setChecked(false);
    FillRow(9, "x");
    At(9, ColComments);
    w().ckCodeCheck->setChecked(true);
    EXPECT_EQ(grid().cursorRow(), 9);

    // A Carry cell of spaces is not exactly empty: the cursor stays.
    w().ckCodeCheck->setChecked(false);
    table().setCell(12, ColCarry, " ");
    At(12, ColFrames);
    w().ckLearningMsg->setChecked(true);
    w().ckCodeCheck->setChecked(true);
    EXPECT_EQ(grid().cursorRow(), 12);
    EXPECT_FALSE(w().ckLearningMsg->isChecked());
    // Unticking changes nothing.
    w().ckLearningMsg->setChecked(true);
    w().ckCodeCheck->setChecked(false);
    EXPECT_TRUE(w().ckLearningMsg->isChecked());
}

TEST_F(GridCommands, DoubleClickOnTheStatusBarTogglesTheMonitor) {
    EXPECT_FALSE(commands().monitorMode());
    QTest::mouseDClick(w().sBar, Qt::LeftButton);
    EXPECT_TRUE(commands().monitorMode());
    EXPECT_TRUE(w().sBar->property("monitor").toBool());
    QTest::mouseDClick(w().sBar, Qt::LeftButton);
    EXPECT_FALSE(w().sBar->property("monitor").toBool());
}

} // namespace
} // namespace quvan::table_ui
