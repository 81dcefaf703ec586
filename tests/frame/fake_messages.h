#pragma once
// A message service that answers without a screen and remembers what it showed.

#include "app/message_service.h"

#include <QStringList>
#include <functional>

namespace quvan::test_support {

class FakeMessages final : public app::MessageService {
  public:
    struct Shown {
        int kind;
        QString caption;
        QString text;
    };
    QList<Shown> shown;
    int answer = 1;
    bool showing = false;
    std::function<void()> whileShowing; // runs as if during the modal loop

    int show(int kind, const QString& caption, const QString& text) override {
        shown.append({kind, caption, text});
        showing = true;
        if (whileShowing)
            whileShowing();
        showing = false;
        return answer;
    }
    bool isShowing() const override { return showing; }
};

} // namespace quvan::test_support
