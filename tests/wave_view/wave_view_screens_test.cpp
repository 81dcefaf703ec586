// The wave view moved between a screen at 100 % and one at 200 % (the
// offscreen platform set up by main below with two such screens): its
// picture follows the screen's scaling, keeps the marks and asks for the
// lanes to be drawn again.

#include "capture/view/wave_view.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace quvan {
namespace {

TEST(WaveViewScreens, ThePictureFollowsTheScreensScaling) {
    ASSERT_EQ(QApplication::screens().size(), 2);
    QWidget window;
    window.setGeometry(100, 100, 600, 200);
    auto* view = new WaveView(2, &window);
    QSignalSpy redraw(view, &WaveView::pixelRatioChanged);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(view->pixelRatio(), 1.0);
    WaveLane lane;
    lane.Pairs[0] = {560, 1120};
    view->DrawPair(0, 0, lane);
    view->MoveMark(100, Qt::RightButton);
    view->MoveMark(200, Qt::LeftButton);

    window.move(1300, 100); // onto the 200 % screen
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->pixelRatio() == 2.0; }, 2000));
    EXPECT_EQ(redraw.count(), 1);
    EXPECT_EQ(view->image().size(), QSize(2 * kWaveImageWidth, 2 * 98));
    // The marks are there at the new resolution; the wave waits for its owner.
    EXPECT_EQ(view->startMark(), 100);
    EXPECT_NE(view->image().pixel(200, 60), qRgb(255, 255, 255));
    EXPECT_NE(view->image().pixel(400, 60), qRgb(255, 255, 255));
    EXPECT_EQ(view->image().pixel(2 * 11, 2 * LaneHighY(0)), qRgb(255, 255, 255));

    window.move(100, 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->pixelRatio() == 1.0; }, 2000));
    EXPECT_EQ(redraw.count(), 2);
    EXPECT_NE(view->image().pixel(100, 30), qRgb(255, 255, 255));
}

} // namespace
} // namespace quvan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUVAN_TWO_SCREENS);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
