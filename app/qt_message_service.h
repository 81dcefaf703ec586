#pragma once
// A message service on the toolkit's standard message box.

#include "app/message_service.h"

#include <QMessageBox>
#include <QPointer>

namespace quvan::app {

class QtMessageService final : public MessageService {
public:
    explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    int show(int kind, const QString& caption, const QString& text) override {
        QMessageBox box(parent_);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setStandardButtons(kind == 0 || kind == 1 ? QMessageBox::Ok
                               : kind == 2            ? QMessageBox::Yes | QMessageBox::No
                                           : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        showing_ = true;
        const int answer = box.exec();
        showing_ = false;
        return answer == QMessageBox::Ok || answer == QMessageBox::Yes ? 1 : 2;
    }
    bool isShowing() const override { return showing_; }

private:
    QPointer<QWidget> parent_;
    bool showing_ = false;
};

}  // namespace quvan::app
