#pragma once
// One wait for the board, as a timer instead of a loop: it ends with the
// board's reply (the link's response flag), with its time limit, or with
// the serial line going away, whichever comes first. Registration and the
// read-back run as state machines on top of it, so the window stays fully
// responsive while they run.

#include <QObject>
#include <QTimer>

namespace quvan::link {
class BoardLink;
}

namespace quvan::table_ui {

class BoardReplyWatch final : public QObject {
    Q_OBJECT
  public:
    explicit BoardReplyWatch(link::BoardLink& link, QObject* parent = nullptr);

    // Starts a wait of `ms`. With endOnReply false only the time limit (or
    // a lost line) ends it. A new arm() replaces the wait before it.
    void arm(int ms, bool endOnReply = true);
    void disarm();
    bool armed() const { return armed_; }

    // The port is closed, or a line error has been seen on it.
    bool lineGone() const;

  signals:
    // Delivered from the event loop, never from inside the line handling
    // that set the flag; a wait that was replaced never reports.
    void replied();
    void timedOut();
    void lineLost();

  private:
    void flagSet();
    void limitReached();
    void portChanged();

    link::BoardLink& link_;
    QTimer limit_;
    bool armed_ = false;
    bool endOnReply_ = true;
    int generation_ = 0;
};

} // namespace quvan::table_ui
