#pragma once
// The message service on the program's own message box. The box is created
// after the main window (it centres on it), so it is attached afterwards.

#include "app/message_service.h"
#include "app/msgbox/msg_box.h"

#include <QTimer>

namespace quvan::app {

class MsgBoxService final : public MessageService {
  public:
    void attach(TfrmMsgBox* box) { box_ = box; }
    int show(int kind, const QString& caption, const QString& text) override {
        if (box_ == nullptr) {
            return TfrmMsgBox::ResultCancel;
        }
        box_->Prepare(kind, caption, text);
        return box_->ShowModal();
    }
    bool isShowing() const override { return box_ != nullptr && box_->Showing(); }
    void runWhenClosed(QObject* context, std::function<void()> then) override {
        if (box_ == nullptr) {
            return;
        }
        QObject::connect(
            box_, &TfrmMsgBox::closed, context,
            [context, then = std::move(then)] { QTimer::singleShot(0, context, then); },
            Qt::SingleShotConnection);
    }

  private:
    TfrmMsgBox* box_ = nullptr;
};

} // namespace quvan::app
