// The grid's model over the table store: Qt's model rules, the row labels,
// edits through the store's rules, and changes made by the store showing up.

#include "../frame/qstring_printer.h"
#include "table/ui/learning_table_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quvan::table_ui {
namespace {

TEST(LearningTableModel, KeepsQtsModelRulesThroughEditsAndRowMoves) {
    LearningTable table(kStdTableRows);
    LearningTableModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(model.rowCount(), 250);
    EXPECT_EQ(model.columnCount(), 5);
    const QStringList headers{"No.", "Carry", "Frames", "Comments", "Result"};
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(model.headerData(col, Qt::Horizontal).toString(), headers[col]);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "001");
    EXPECT_EQ(model.data(model.index(249, 0)).toString(), "250");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);

    // The label column is the fixed frame of the grid.
    EXPECT_FALSE(model.flags(model.index(3, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(3, 0), "x"));
    EXPECT_EQ(model.data(model.index(3, 0)).toString(), "004");

    QSignalSpy edited(&model, &LearningTableModel::cellEdited);
    ASSERT_TRUE(model.setData(model.index(4, 3), QStringLiteral("テレビ")));
    EXPECT_EQ(table.cell(5, ColComments), "テレビ");
    EXPECT_EQ(edited.count(), 1);
    // The same text again is no change.
    model.setData(model.index(4, 3), QStringLiteral("テレビ"));
    EXPECT_EQ(edited.count(), 1);

    // What the store keeps is what the grid shows: a comma cannot split the
    // row in the file.
    model.setData(model.index(4, 4), "a,b");
    EXPECT_EQ(table.cell(5, ColResult), "a\xEF\xBC\x8C"
                                        "b");
    EXPECT_EQ(model.data(model.index(4, 4)).toString(), QString::fromUtf8("a，b"));

    // Changes made by the store (insert a row above) reach the view.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    table.shiftDown(2);
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(model.data(model.index(5, 3)).toString(), QStringLiteral("テレビ"));
    EXPECT_EQ(model.data(model.index(4, 3)).toString(), "");
    EXPECT_EQ(model.data(model.index(1, 3)).toString(), "");
    const auto first = changed.last().at(0).toModelIndex();
    const auto last = changed.last().at(1).toModelIndex();
    EXPECT_LE(first.row(), 1);
    EXPECT_GE(last.row(), 5);

    table.clearAll();
    EXPECT_EQ(model.data(model.index(5, 3)).toString(), "");
}

TEST(LearningTableModel, LetsGoOfTheStoreWhenDestroyed) {
    LearningTable table(kStdTableRows);
    {
        LearningTableModel model(table);
        EXPECT_TRUE(static_cast<bool>(table.onRowsChanged));
    }
    EXPECT_FALSE(static_cast<bool>(table.onRowsChanged));
    table.setCell(1, ColCarry, "38.0kHz"); // must not reach a dead model
    EXPECT_EQ(table.cell(1, ColCarry), "38.0kHz");
}

} // namespace
} // namespace quvan::table_ui
