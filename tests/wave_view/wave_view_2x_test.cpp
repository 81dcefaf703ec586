// The wave picture at 200 % scaling (QT_SCALE_FACTOR=2 on the offscreen
// platform, set by main below): it has twice the pixels each way, and every
// pixel of the view is a whole 2 × 2 block of screen pixels, so the wave is
// as sharp as at 100 %.

#include "capture/view/wave_view.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace quvan {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGreen = qRgb(0, 128, 0);

// The colour of the 2 × 2 block of view pixel (x, y); black when the block
// is not one colour (a stroke that straddles screen pixels).
QRgb Block(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(2 * x, 2 * y);
    const bool whole = image.pixel(2 * x + 1, 2 * y) == c && image.pixel(2 * x, 2 * y + 1) == c &&
                       image.pixel(2 * x + 1, 2 * y + 1) == c;
    return whole ? c : qRgb(0, 0, 0);
}

TEST(WaveView2x, ThePictureHasTwiceThePixelsEachWay) {
    WaveView view(4);
    EXPECT_EQ(view.pixelRatio(), 2.0);
    EXPECT_EQ(view.image().devicePixelRatio(), 2.0);
    EXPECT_EQ(view.size(), QSize(kWaveImageWidth, 4 * kLaneHeight - 2));
    EXPECT_EQ(view.image().size(), QSize(2 * kWaveImageWidth, 2 * (4 * kLaneHeight - 2)));
    // What the screen gets is the picture's own pixels.
    const QPixmap shown = view.grab(QRect(0, 0, 100, 98));
    EXPECT_EQ(shown.devicePixelRatio(), 2.0);
    EXPECT_EQ(shown.size(), QSize(200, 196));
}

TEST(WaveView2x, EachPixelOfTheWaveIsAWholeBlock) {
    WaveView view(2);
    WaveLane lane;
    lane.Pairs[0] = {560, 1120};
    view.DrawPair(0, 0, lane);
    // At 200 µs a pixel, as at 100 %: the low level from x = 0, the rising
    // edge at x = 10, the mark up to the falling edge at x = 12, the space
    // to x = 15; low at y = 40, high at y = 20.
    auto onWave = [](int x, int y) {
        return (y == 40 && (x <= 10 || (x >= 12 && x <= 15))) ||
               (y == 20 && x >= 10 && x <= 12) || ((x == 10 || x == 12) && y >= 20 && y <= 40);
    };
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(Block(view.image(), x, y), onWave(x, y) ? kGreen : kWhite)
                << "at " << x << "," << y;
}

TEST(WaveView2x, MarksAreWholeBlocksAndGoAwayCleanly) {
    WaveView view(2);
    std::array<WaveLane, kLaneSlots> lanes{};
    lanes[0].Pairs[0] = {9000, 13500};
    lanes[0].Pairs[1] = {560, 1120};
    lanes[0].LastIndex = 1;
    view.RedrawLanes(200, lanes);
    const QImage before = view.image();
    view.MoveMark(60, Qt::RightButton);
    const QRgb mark = Block(view.image(), 60, 30);
    EXPECT_NE(mark, kWhite);
    EXPECT_NE(mark, qRgb(0, 0, 0));
    EXPECT_EQ(Block(view.image(), 59, 30), kWhite);
    EXPECT_EQ(Block(view.image(), 61, 30), kWhite);
    EXPECT_EQ(Block(view.image(), 60, 95), mark); // down through the last lane
    // Moved: the picture differs from the one without marks only in the two
    // screen columns of x = 80.
    view.MoveMark(80, Qt::RightButton);
    const QImage& after = view.image();
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < 400; ++x)
            if (after.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(x == 160 || x == 161) << x << "," << y;
            }
    EXPECT_EQ(changed, 2 * 2 * (2 * kLaneHeight - 5));
}

TEST(WaveView2x, LabelsAreDrawnAtTheScreensResolution) {
    WaveView view(2);
    view.DrawLabel(0, QStringLiteral("No.1: 38.0kHz"));
    // Text is not made of blocks: somewhere its two halves differ.
    bool finer = false;
    for (int y = 4; y < 18 && !finer; ++y)
        for (int x = 10; x < 80 && !finer; ++x)
            finer = Block(view.image(), x, y) == qRgb(0, 0, 0);
    EXPECT_TRUE(finer);
    EXPECT_GT(view.labelRight(0), 40);
    EXPECT_LT(view.labelRight(0), 120); // sized in the view's pixels, not the screen's
}

} // namespace
} // namespace quvan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
