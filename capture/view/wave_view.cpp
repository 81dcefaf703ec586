#include "capture/view/wave_view.h"

#include "capture/view/meaning_layout.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace quvan {
namespace {

const QColor kWaveGreen(0, 128, 0);
const QColor kStartYellow(255, 255, 0);
const QColor kEndGreen(0, 128, 0);
const QColor kBitColour(150, 0, 150);
const QColor kByteColour(190, 80, 0);
const QColor kMeasureColour(230, 110, 0);
constexpr int kMeaningPixels = 9; // font size of the meaning labels

} // namespace

WaveView::WaveView(int lanes, QWidget* parent) : QWidget(parent), lanes_(lanes) {
    setObjectName("imgWave");
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = BlankPicture(lanes_, devicePixelRatioF());
    setFixedSize(kWaveImageWidth, lanes * kLaneHeight - 2);
}

QImage WaveView::BlankPicture(int lanes, qreal ratio) {
    QImage picture(qCeil(kWaveImageWidth * ratio), qCeil((lanes * kLaneHeight - 2) * ratio),
                   QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    return picture;
}

void WaveView::FollowScreenScaling() {
    const qreal ratio = devicePixelRatioF();
    if (qFuzzyCompare(ratio, image_.devicePixelRatio())) {
        return;
    }
    image_ = BlankPicture(lanes_, ratio);
    glyphs_.clear();
    // The marks are kept; the lanes and their labels come from the owner.
    if (startMark_ >= 0) {
        ToggleMark(startMark_, kStartYellow);
    }
    if (endMark_ >= 0) {
        ToggleMark(endMark_, kEndGreen);
    }
    labelRight_.fill(kWaveOriginX);
    update();
    emit pixelRatioChanged();
}

void WaveView::LineTo(QPainter& painter, int x, int y) {
    // The wave has only level and upright strokes: each is the run of whole
    // pixels it covers, filled. At any scaling a pixel of the view then maps
    // onto whole screen pixels, and filling is far quicker than stroking a
    // pen that the scaling has widened.
    if (x == penX_ || y == penY_) {
        painter.fillRect(QRect(QPoint(std::min(x, penX_), std::min(y, penY_)),
                               QPoint(std::max(x, penX_), std::max(y, penY_))),
                         kWaveGreen);
    } else {
        painter.drawLine(penX_, penY_, x, y);
    }
    penX_ = x;
    penY_ = y;
}

void WaveView::DrawPair(int lane, int index, const WaveLane& data) {
    if (lane < 0 || lane >= lanes_ || index < 0 || index > kMaxPairIndex) {
        return;
    }
    const PulsePair& pair = data.Pairs[static_cast<std::size_t>(index)];
    const int firstX = penX_;
    QPainter painter(&image_);
    painter.setPen(QPen(kWaveGreen, 1, Qt::SolidLine));
    if (index == 0) {
        painter.end();
        ClearLanes(lane > 0 ? lane : lanes_);
        painter.begin(&image_);
        painter.setPen(QPen(kWaveGreen, 1, Qt::SolidLine));
        time_ = 0;
        lowY_ = LaneLowY(lane);
        penX_ = 0;
        penY_ = lowY_;
        LineTo(painter, kWaveOriginX, lowY_);
    } else if (penX_ >= kWaveImageWidth) {
        return; // the capture runs past the right edge of the image
    }
    StrokePair(painter, pair);
    painter.end();
    const int left = index == 0 ? 0 : firstX;
    update(QRect(left, lowY_ - 21, penX_ - left + 2, 23));
}

void WaveView::DrawLane(int lane, const WaveLane& data) {
    // As DrawPair would for every pair, with one painter for the lane: a
    // redraw of four full lanes draws sixteen thousand pulses.
    DrawPair(lane, 0, data);
    QPainter painter(&image_);
    painter.setPen(QPen(kWaveGreen, 1, Qt::SolidLine));
    for (int index = 1; index <= data.LastIndex && penX_ < kWaveImageWidth; ++index)
        StrokePair(painter, data.Pairs[static_cast<std::size_t>(index)]);
}

void WaveView::StrokePair(QPainter& painter, const PulsePair& pair) {
    const PairEdges edges = EdgesOfPair(time_, pair, zoom_);
    const int highY = lowY_ - 20;
    LineTo(painter, penX_, highY);
    LineTo(painter, edges.fallX, highY);
    LineTo(painter, edges.fallX, lowY_);
    time_ += pair.Width;
    LineTo(painter, edges.nextRiseX, lowY_);
}

void WaveView::ClearLanes(int lane) {
    // Marks go first, so that no half-erased mark line stays behind. A mark
    // at x = 0 stays as it is.
    if (startMark_ > 0) {
        ToggleMark(startMark_, kStartYellow);
        startMark_ = -1;
    }
    if (endMark_ > 0) {
        ToggleMark(endMark_, kEndGreen);
        endMark_ = -1;
    }
    if (!redrawing_)
        ForgetMeasurement();
    QPainter painter(&image_);
    const int first = lane < lanes_ ? lane : 0;
    const int last = lane < lanes_ ? lane : lanes_ - 1;
    for (int i = first; i <= last; ++i) {
        painter.fillRect(QRect(0, i * kLaneHeight + 2, kWaveImageWidth, kLaneHeight), Qt::white);
        labelRight_[static_cast<std::size_t>(i)] = kWaveOriginX;
    }
    painter.end();
    update();
    if (lanesCleared) {
        lanesCleared();
    }
}

void WaveView::RedrawLanes(int zoom, const std::array<WaveLane, kLaneSlots>& data) {
    // The marks stay at their times: taken off here, put back where those
    // times lie at the new zoom. A mark at x = 0 stands for the start and stays.
    const int oldZoom = zoom_;
    const int start = startMark_;
    const int end = endMark_;
    if (startMark_ > 0) {
        ToggleMark(startMark_, kStartYellow);
        startMark_ = -1;
    }
    if (endMark_ > 0) {
        ToggleMark(endMark_, kEndGreen);
        endMark_ = -1;
    }
    zoom_ = zoom;
    redrawing_ = true;
    for (int lane = 0; lane < lanes_; ++lane) {
        const WaveLane& captured = data[static_cast<std::size_t>(lane)];
        if (captured.LastIndex == 0) {
            continue;
        }
        DrawLane(lane, captured);
        if (laneRedrawn) {
            laneRedrawn(lane);
        }
    }
    redrawing_ = false;
    if (start > 0) {
        startMark_ = MarkAfterZoom(start, oldZoom, zoom);
        ToggleMark(startMark_, kStartYellow);
    }
    if (end > 0) {
        endMark_ = MarkAfterZoom(end, oldZoom, zoom);
        ToggleMark(endMark_, kEndGreen);
    }
    update();
}

void WaveView::ToggleMark(int x, QColor colour) {
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    // One pixel wide from y = 2 down to y = lanes × 50 - 4, as the wave's
    // strokes: whole screen pixels at any scaling.
    painter.fillRect(QRect(x, 2, 1, lanes_ * kLaneHeight - 5), colour);
    painter.end();
    update(QRect(x - 1, 0, 3, height()));
}

void WaveView::MoveMark(int x, Qt::MouseButton button) {
    if (button == Qt::RightButton || button == Qt::LeftButton)
        ForgetMeasurement();
    if (button == Qt::RightButton) {
        if (startMark_ != -1) {
            if (endMark_ > 0) {
                ToggleMark(endMark_, kEndGreen);
                endMark_ = -1;
            }
            ToggleMark(startMark_, kStartYellow);
        }
        ToggleMark(x, kStartYellow);
        startMark_ = x;
    } else if (button == Qt::LeftButton) {
        if (endMark_ == -1) {
            if (startMark_ == -1) {
                startMark_ = 0;
                ToggleMark(0, kStartYellow);
            }
        } else {
            if (x <= startMark_) {
                ToggleMark(startMark_, kStartYellow);
                startMark_ = 0;
                ToggleMark(0, kStartYellow);
            }
            ToggleMark(endMark_, kEndGreen);
        }
        ToggleMark(x, kEndGreen);
        endMark_ = x;
    }
}

void WaveView::DrawLabel(int lane, const QString& text) {
    if (lane < 0 || lane >= lanes_) {
        return;
    }
    QPainter painter(&image_);
    painter.setPen(QColor(0, 0, 255));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    QFont small = font();
    small.setPixelSize(11);
    painter.setFont(small);
    const QRect area(kWaveOriginX, lane * kLaneHeight + 4, kWaveImageWidth - kWaveOriginX, 14);
    QRect drawn;
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, text, &drawn);
    painter.end();
    labelRight_[static_cast<std::size_t>(lane)] =
        std::max(labelRight_[static_cast<std::size_t>(lane)], drawn.right() + 1);
    update(area);
}

int WaveView::labelRight(int lane) const {
    if (lane < 0 || lane >= lanes_)
        return kWaveOriginX;
    return std::max(labelRight_[static_cast<std::size_t>(lane)], kWaveOriginX);
}

int WaveView::meaningGlyphWidth() const {
    if (glyphWidth_ == 0) {
        QFont small = font();
        small.setPixelSize(kMeaningPixels);
        const QFontMetrics metrics(small);
        int width = 0;
        for (char c : std::string_view("0123456789ABCDEFLRT"))
            width = std::max(width, metrics.horizontalAdvance(QLatin1Char(c)));
        const_cast<WaveView*>(this)->glyphWidth_ = width;
    }
    return glyphWidth_;
}

const QImage& WaveView::Glyph(char c, bool byte) {
    const int key = (byte ? 256 : 0) + static_cast<unsigned char>(c);
    auto found = glyphs_.find(key);
    if (found != glyphs_.end())
        return *found;
    QFont small = font();
    small.setPixelSize(kMeaningPixels);
    const QFontMetrics metrics(small);
    // Digits and capitals have nothing under the baseline: a glyph is as
    // tall as a capital, so that a row fits in the seven pixels under the
    // low level of the last lane.
    const int height = std::max(1, static_cast<int>(std::ceil(metrics.capHeight())));
    const qreal ratio = image_.devicePixelRatio();
    QImage glyph(qCeil(meaningGlyphWidth() * ratio), qCeil(height * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    glyph.setDevicePixelRatio(ratio);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setFont(small);
    painter.setPen(byte ? kByteColour : kBitColour);
    const QString text{QLatin1Char(c)};
    painter.drawText(
        QPointF((meaningGlyphWidth() - metrics.horizontalAdvance(text)) / 2.0, height), text);
    painter.end();
    return *glyphs_.insert(key, glyph);
}

void WaveView::DrawMeanings(int lane, const WaveLane& data, const PulseMeanings& meanings) {
    if (lane < 0 || lane >= lanes_ || meanings.empty()) {
        return;
    }
    const int glyph = meaningGlyphWidth();
    const MeaningLayout layout =
        LayOutMeanings(data, meanings, zoom_, glyph, labelRight(lane), kWaveImageWidth);
    const int top = lane * kLaneHeight;
    QPainter painter(&image_);
    const int glyphHeight = qRound(Glyph('0', false).deviceIndependentSize().height());
    // Above: under the label line, ending a pixel over the high level (+20);
    // below: from a pixel under the low level (+40).
    const int aboveY = top + 19 - glyphHeight;
    const int belowY = top + 41;
    painter.setPen(QPen(kByteColour, 1));
    for (int x : layout.boundaries) {
        painter.drawLine(x, belowY, x, belowY + glyphHeight);
        if (layout.bitsShown)
            painter.drawLine(x, aboveY - 1, x, top + 18);
    }
    for (const MeaningLabel& label : layout.labels) {
        const bool byte = label.kind == MeaningKind::Byte;
        const int y = label.row == MeaningRow::Above ? aboveY : belowY;
        for (int i = 0; i < 2 && label.text[i] != 0; ++i)
            painter.drawImage(QPoint(label.x + i * glyph, y), Glyph(label.text[i], byte));
    }
    painter.end();
    update(QRect(0, top, kWaveImageWidth, kLaneHeight + 2));
}

void WaveView::ShowMeasurement(const Measurement& measurement) {
    ForgetMeasurement();
    measurement_ = measurement;
    update();
}

void WaveView::ForgetMeasurement() {
    if (measurement_) {
        measurement_.reset();
        update();
    }
}

void WaveView::PaintMeasurement(QPainter& painter, const QRect& exposed) {
    if (!measurement_)
        return;
    const Measurement& m = *measurement_;
    const int a = static_cast<int>(
        std::clamp<std::int64_t>(XOfTime(m.startMicros, zoom_), 0, kWaveImageWidth - 1));
    const int b = static_cast<int>(
        std::clamp<std::int64_t>(XOfTime(m.endMicros, zoom_), 0, kWaveImageWidth - 1));
    const int top = m.lane * kLaneHeight;
    const QRect area(std::min(a, b) - 80, top, std::abs(b - a) + 160, kLaneHeight);
    if (!area.intersects(exposed))
        return;
    // The edges the span runs between, thick, over the wave's own edges.
    painter.setPen(QPen(kMeasureColour, 2));
    painter.drawLine(a, top + 8, a, top + 44);
    painter.setPen(QPen(kMeasureColour, 1, Qt::DashLine));
    painter.drawLine(b, top + 8, b, top + 44);
    // The span as a bar with its length on it.
    const int barY = top + 11;
    painter.setPen(QPen(kMeasureColour, 1));
    painter.drawLine(a, barY, b, barY);
    QFont small = font();
    small.setPixelSize(11);
    painter.setFont(small);
    const QFontMetrics metrics(small);
    const int textWidth = metrics.horizontalAdvance(m.text) + 6;
    int left = (a + b) / 2 - textWidth / 2;
    if (std::abs(b - a) < textWidth + 4)
        left = std::max(a, b) + 4; // too narrow: beside the end edge
    const QRect box(left, barY - metrics.height() / 2 - 1, textWidth, metrics.height() + 2);
    painter.fillRect(box, QColor(255, 255, 230, 225));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, m.text);
}

void WaveView::DrawSamplingGrid(int lane, const std::vector<SampleMark>& marks) {
    if (lane < 0 || lane >= lanes_ || marks.empty()) {
        return;
    }
    QPainter painter(&image_);
    painter.setPen(QPen(QColor(192, 192, 192), 1, Qt::DotLine));
    QFont small = font();
    small.setPixelSize(9);
    painter.setFont(small);
    const int top = lane * kLaneHeight + 20;
    for (const SampleMark& mark : marks) {
        painter.drawLine(mark.x, top, mark.x, top + 25);
        painter.drawText(QPoint(mark.x - 2, lane * kLaneHeight + 47 + 9),
                         QString(QChar(mark.value)));
    }
    painter.end();
    update(QRect(0, lane * kLaneHeight, kWaveImageWidth, kLaneHeight));
}

bool WaveView::event(QEvent* event) {
    // The window moved to another screen (whose scaling may differ).
    if (event->type() == QEvent::ScreenChangeInternal) {
        FollowScreenScaling();
    }
    return QWidget::event(event);
}

void WaveView::paintEvent(QPaintEvent* event) {
    // A scaling change that came without a screen change (the desktop's
    // setting) is seen at the latest when the view is painted.
    FollowScreenScaling();
    QPainter painter(this);
    // The exposed part, taken from the picture's own pixels: one picture
    // pixel per screen pixel, nothing scaled.
    const QRect exposed = event->rect();
    const qreal ratio = image_.devicePixelRatio();
    const QRectF source(exposed.x() * ratio, exposed.y() * ratio, exposed.width() * ratio,
                        exposed.height() * ratio);
    painter.drawImage(QRectF(exposed), image_, source);
    PaintMeasurement(painter, exposed);
}

void WaveView::mousePressEvent(QMouseEvent* event) {
    MoveMark(event->position().toPoint().x(), event->button());
}

void WaveView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && endMark_ != -1) {
        const QPoint at = event->position().toPoint();
        emit measureRequested(at.x(), at.y());
    }
}

} // namespace quvan
