// The grid and its commands under the tool's style sheet, as the user sees
// them: the row labels are part of the frame, what cannot be used looks so,
// and the row a paste will copy is named.

#include "table_ui_fixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>

namespace quvan::table_ui {
namespace {

class GridLook : public TableUiTest {
  protected:
    void SetUp() override {
        app::ApplyLavenderClassico(*static_cast<QApplication*>(QCoreApplication::instance()));
        Start();
        main().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return main().state().StartupDone; }, 5000));
    }
    void TearDown() override { qApp->setStyleSheet(QString()); }
};

// The colour of the view's picture at a point of one of its children.
QColor PixelOf(const QImage& image, const QWidget& view, const QWidget& child, QPoint at) {
    return image.pixelColor(child.mapTo(&view, at));
}

// The darkest pixel of a picture, as lightness 0..255: the ink of its text.
int Ink(const QImage& image) {
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, image.pixelColor(x, y).lightness());
    return darkest;
}

TEST_F(GridLook, RowLabelsLookLikeTheHeader) {
    QTableView& view = *w().sGrid;
    table().setCell(2, ColResult, "Tm:NEC");
    const QImage image = view.grab().toImage();
    const QHeaderView& header = *view.horizontalHeader();
    const QRect label = view.visualRect(commands().model().index(1, 0));
    const QRect cell = view.visualRect(commands().model().index(1, ColFrames));
    const QColor headerColour = PixelOf(image, view, header, {3, header.height() / 2});
    const QColor labelColour =
        PixelOf(image, view, *view.viewport(), label.topLeft() + QPoint(3, 4));
    const QColor cellColour = PixelOf(image, view, *view.viewport(), cell.topLeft() + QPoint(3, 4));
    EXPECT_EQ(labelColour, headerColour) << labelColour.name().toStdString();
    EXPECT_NE(labelColour, cellColour);
    // The cells drawn after the labels still show their texts.
    const QRect result = view.visualRect(commands().model().index(1, ColResult));
    EXPECT_LT(Ink(image.copy(result.translated(view.viewport()->mapTo(&view, QPoint(0, 0))))), 80);
}

TEST_F(GridLook, DisabledCommandsLookDisabled) {
    QMenu& menu = popup().menu();
    QAction* paste = popup().ppPaste;
    const QRect item = menu.actionGeometry(paste);
    paste->setEnabled(true);
    const int enabledInk = Ink(menu.grab(item).toImage());
    paste->setEnabled(false);
    const int disabledInk = Ink(menu.grab(item).toImage());
    EXPECT_LT(enabledInk, 80);
    EXPECT_GT(disabledInk, 120) << "a disabled item is written in grey";

    QPushButton& button = *w().btnTest;
    const QPoint inside(4, button.height() / 2);
    button.setEnabled(true);
    const QColor face = button.grab().toImage().pixelColor(inside);
    button.setEnabled(false);
    EXPECT_NE(button.grab().toImage().pixelColor(inside), face);
}

TEST_F(GridLook, TheRowAPasteCopiesIsNamedInTheStatusBar) {
    EXPECT_FALSE(w().sBarCopyMark->isVisible());
    grid().setCursor(3, ColCarry);
    popup().ppCopy->trigger();
    EXPECT_TRUE(w().sBarCopyMark->isVisible());
    EXPECT_EQ(w().sBarCopyMark->text(), "コピー: 003");
    // The three panels keep their places.
    EXPECT_TRUE(w().sBarPanels[2]->isVisible());
    commands().FileNew();
    EXPECT_FALSE(w().sBarCopyMark->isVisible());
}

} // namespace
} // namespace quvan::table_ui
