#include "table/ui/board_reply_watch.h"

#include "link/board_link.h"

#include <QMetaObject>

namespace quvan::table_ui {

BoardReplyWatch::BoardReplyWatch(link::BoardLink& link, QObject* parent)
    : QObject(parent), link_(link) {
    limit_.setSingleShot(true);
    limit_.setTimerType(Qt::PreciseTimer);
    connect(&limit_, &QTimer::timeout, this, &BoardReplyWatch::limitReached);
    connect(&link_, &link::BoardLink::responseFlagSet, this, &BoardReplyWatch::flagSet);
    connect(&link_, &link::BoardLink::portStatusChanged, this, &BoardReplyWatch::portChanged);
}

bool BoardReplyWatch::lineGone() const {
    return !link_.ComPort.PortOpen || link_.ComPort.CommError;
}

void BoardReplyWatch::arm(int ms, bool endOnReply) {
    ++generation_;
    armed_ = true;
    endOnReply_ = endOnReply;
    limit_.start(ms);
    if (endOnReply_ && link_.ResponseFlag()) {
        flagSet();
    }
}

void BoardReplyWatch::disarm() {
    ++generation_;
    armed_ = false;
    limit_.stop();
}

void BoardReplyWatch::flagSet() {
    if (!armed_ || !endOnReply_) {
        return;
    }
    armed_ = false;
    limit_.stop();
    const int generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == generation_) {
                emit replied();
            }
        },
        Qt::QueuedConnection);
}

void BoardReplyWatch::limitReached() {
    if (!armed_) {
        return;
    }
    armed_ = false;
    // A wait that ran out because the line died says so.
    if (lineGone()) {
        emit lineLost();
    } else {
        emit timedOut();
    }
}

void BoardReplyWatch::portChanged() {
    if (!armed_ || link_.ComPort.PortOpen) {
        return;
    }
    disarm();
    const int generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == generation_) {
                emit lineLost();
            }
        },
        Qt::QueuedConnection);
}

} // namespace quvan::table_ui
