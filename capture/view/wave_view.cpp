#include "capture/view/wave_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace quvan {
namespace {

const QColor kWaveGreen(0, 128, 0);
const QColor kStartYellow(255, 255, 0);
const QColor kEndGreen(0, 128, 0);

} // namespace

WaveView::WaveView(int lanes, QWidget* parent)
    : QWidget(parent), lanes_(lanes),
      image_(kWaveImageWidth, lanes * kLaneHeight - 2, QImage::Format_RGB32) {
    setObjectName("imgWave");
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_.fill(Qt::white);
    setFixedSize(image_.size());
}

void WaveView::LineTo(QPainter& painter, int x, int y) {
    painter.drawLine(penX_, penY_, x, y);
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
    const PairEdges edges = EdgesOfPair(time_, pair, zoom_);
    const int highY = lowY_ - 20;
    LineTo(painter, penX_, highY);
    LineTo(painter, edges.fallX, highY);
    LineTo(painter, edges.fallX, lowY_);
    time_ += pair.Width;
    LineTo(painter, edges.nextRiseX, lowY_);
    painter.end();
    const int left = index == 0 ? 0 : firstX;
    update(QRect(left, lowY_ - 21, penX_ - left + 2, 23));
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
    QPainter painter(&image_);
    const int first = lane < lanes_ ? lane : 0;
    const int last = lane < lanes_ ? lane : lanes_ - 1;
    for (int i = first; i <= last; ++i) {
        painter.fillRect(QRect(0, i * kLaneHeight + 2, kWaveImageWidth, kLaneHeight), Qt::white);
    }
    painter.end();
    update();
    if (lanesCleared) {
        lanesCleared();
    }
}

void WaveView::RedrawLanes(int zoom, const std::array<WaveLane, kLaneSlots>& data) {
    zoom_ = zoom;
    for (int lane = 0; lane < lanes_; ++lane) {
        const WaveLane& captured = data[static_cast<std::size_t>(lane)];
        if (captured.LastIndex == 0) {
            continue;
        }
        for (int index = 0; index <= captured.LastIndex; ++index) {
            DrawPair(lane, index, captured);
        }
        if (laneRedrawn) {
            laneRedrawn(lane);
        }
    }
    update();
}

void WaveView::ToggleMark(int x, QColor colour) {
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(colour, 1));
    painter.drawLine(x, 2, x, lanes_ * kLaneHeight - 4);
    painter.end();
    update(QRect(x - 1, 0, 3, height()));
}

void WaveView::MoveMark(int x, Qt::MouseButton button) {
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
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    update(area);
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
        painter.drawText(QPoint(mark.x - 2, lane * kLaneHeight + 47 + 9), QString(QChar(mark.value)));
    }
    painter.end();
    update(QRect(0, lane * kLaneHeight, kWaveImageWidth, kLaneHeight));
}

void WaveView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
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
