#pragma once
// The wave image: one 50-pixel lane per capture on a 20000-pixel-wide
// picture, drawn pulse by pulse as the board reports them, with two measuring
// marks drawn by exclusive-or so that drawing a mark again removes it. The
// picture is kept in memory; a paint only copies the exposed part of it. It
// has as many pixels as the screen shows for the view (twice as many each
// way at 200 % scaling), so the wave stays sharp; all drawing is in the
// view's own coordinates.

#include "capture/pulse_meaning.h"
#include "capture/view/wave_geometry.h"
#include "capture/wave_lane.h"

#include <QHash>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace quvan {

class WaveView final : public QWidget {
    Q_OBJECT
  public:
    WaveView(int lanes, QWidget* parent = nullptr);

    int lanes() const { return lanes_; }
    int zoom() const { return zoom_; }
    int startMark() const { return startMark_; }
    int endMark() const { return endMark_; }
    const QImage& image() const { return image_; }
    // Screen pixels per pixel of the view the picture is drawn at.
    qreal pixelRatio() const { return image_.devicePixelRatio(); }

    // Draws pair `index` of `data` into `lane`; index 0 starts the lane over.
    void DrawPair(int lane, int index, const WaveLane& data);
    // Clears one lane, or every lane when lane >= lanes().
    void ClearLanes(int lane);
    // Sets the zoom and draws every captured lane again.
    void RedrawLanes(int zoom, const std::array<WaveLane, kLaneSlots>& data);
    // A mouse press at x: right button moves the start mark, left the end mark.
    void MoveMark(int x, Qt::MouseButton button);
    // The lane's label in blue at its top left ("No.1: 38.0kHz ..." and the result).
    void DrawLabel(int lane, const QString& text);
    // A sampling grid: a dotted silver line and the value read at each x.
    struct SampleMark {
        int x;
        char value;
    };
    void DrawSamplingGrid(int lane, const std::vector<SampleMark>& marks);
    // What each pulse of the lane's decoded capture means: bits or roles
    // under the wave, byte values above it, byte boundaries, as far as they
    // fit at the zoom.
    void DrawMeanings(int lane, const WaveLane& data, const PulseMeanings& meanings);
    // Where the lane's label ends (10 when it has none).
    int labelRight(int lane) const;
    // The width of one character of the meaning labels.
    int meaningGlyphWidth() const;

    // The span between the marks, shown over the lane it was measured in:
    // the edge it starts at (the end of the pulse under the start mark), the
    // edge it ends at, and its length. Marks moving or the lanes clearing
    // take it away; a zoom keeps it at the same times.
    struct Measurement {
        int lane = 0;
        std::int64_t startMicros = 0;
        std::int64_t endMicros = 0;
        QString text;
    };
    void ShowMeasurement(const Measurement& measurement);
    const std::optional<Measurement>& measurement() const { return measurement_; }

    // Run after a lane has been drawn again (sampling grids, lane labels).
    std::function<void(int lane)> laneRedrawn;
    // Run by ClearLanes.
    std::function<void()> lanesCleared;

  signals:
    // The left button was released at (x, y) with an end mark placed.
    void measureRequested(int x, int y);
    // The view moved to a screen of another scaling and its picture was
    // started afresh at the new one, with the marks but without the lanes:
    // the owner draws them again (RedrawLanes and the labels).
    void pixelRatioChanged();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ToggleMark(int x, QColor colour);
    void LineTo(QPainter& painter, int x, int y);
    // The rise, the mark, the fall and the space of one pair from the pen on.
    void StrokePair(QPainter& painter, const PulsePair& pair);
    void DrawLane(int lane, const WaveLane& data);
    const QImage& Glyph(char c, bool byte);
    void PaintMeasurement(QPainter& painter, const QRect& exposed);
    void ForgetMeasurement();
    // A white picture of the view's size at `ratio` screen pixels per pixel.
    static QImage BlankPicture(int lanes, qreal ratio);
    // Starts the picture afresh when the screen's scaling differs from it.
    void FollowScreenScaling();

    int lanes_;
    QImage image_;
    int zoom_ = kInitialZoom;
    int startMark_ = -1;
    int endMark_ = -1;
    // Where the pen stands between DrawPair calls of the lane being drawn.
    int penX_ = 0;
    int penY_ = 0;
    int lowY_ = 0;
    std::int64_t time_ = 0;
    std::array<int, kLaneSlots> labelRight_{};
    std::optional<Measurement> measurement_;
    bool redrawing_ = false;
    // Small pictures of the label characters, drawn once: a lane of 4096
    // pulses copies thousands of them on every zoom.
    QHash<int, QImage> glyphs_;
    int glyphWidth_ = 0;
};

} // namespace quvan
