#include "app/msgbox/msg_box.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace quvan::app {
namespace {

TfrmMsgBox::Answerer& CurrentAnswerer() {
    static TfrmMsgBox::Answerer answerer;
    return answerer;
}

// Tahoma where it is installed (the box was laid out for it); otherwise the
// nearest sans-serif face. Japanese characters come from whatever font has
// them, and every width is measured with the font the box really got.
QFont MessageFont() {
    QFont font;
    font.setFamilies({"Tahoma", "Verdana", "DejaVu Sans", "Noto Sans CJK JP"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

// The message label's height (two lines of the box's font) and the tops of
// the buttons and the check box under it.
constexpr int kLabelHeight = 40;
constexpr int kButtonTop = 55;
constexpr int kCheckBoxTop = 57;

int RightEdge(const QWidget* w) {
    return w->x() + w->width();
}
int BottomEdge(const QWidget* w) {
    return w->y() + w->height();
}

} // namespace

TfrmMsgBox::TfrmMsgBox(QWidget* mainWindow, const SoundPaths* sounds, platform::SoundPlayer* player)
    : QDialog(mainWindow), mainWindow_(mainWindow), sounds_(sounds), player_(player) {
    setFont(MessageFont());
    setModal(true);

    lblMsg = new QLabel(this);
    lblMsg->setGeometry(8, 8, 225, kLabelHeight);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Texts carry file paths and board replies; "<" must not start markup.
    lblMsg->setTextFormat(Qt::PlainText);

    // Never seen (it lies below the client area); only its width matters.
    lblWork = new QLabel(this);
    lblWork->setTextFormat(Qt::PlainText);
    lblWork->move(8, 152);

    btnYes = new QPushButton(this);
    btnYes->setGeometry(164, kButtonTop, 75, 25);
    btnNo = new QPushButton(this);
    btnNo->setGeometry(164, btnYes->y(), 75, 25);
    btnCan = new QPushButton(this);
    btnCan->setGeometry(164, btnYes->y(), 75, 25);

    ckDispOff = new QCheckBox(tr("次回から表示しない"), this);
    ckDispOff->setGeometry(8, kCheckBoxTop, 141, 17);

    setFixedSize(RightEdge(btnYes) + 8, BottomEdge(btnYes) + 8);
    // The message keeps the same margin on the right as on the left, so the
    // longest line, which the box is sized to, fits on one line.
    labelRightMargin_ = 8;

    connect(btnYes, &QPushButton::clicked, this, [this] { ButtonClicked(btnYes, ResultOk); });
    connect(btnNo, &QPushButton::clicked, this, [this] { ButtonClicked(btnNo, ResultCancel); });
    connect(btnCan, &QPushButton::clicked, this, [this] { ButtonClicked(btnCan, ResultCancel); });
}

void TfrmMsgBox::Prepare(int kind, const QString& caption, const QString& text) {
    kind_ = kind;
    setWindowTitle(caption);
    lblMsg->setText(text);
    lblWork->setText(text);
    ckDispOff->hide();

    const auto showButton = [](QPushButton* b, const QString& label) {
        b->setText(label);
        b->show();
    };
    const auto hideButton = [](QPushButton* b) {
        b->setText(QString());
        b->hide();
    };
    QPushButton* last = btnYes;
    switch (kind) {
    case 0:
        ckDispOff->show();
        [[fallthrough]];
    case 1:
        showButton(btnYes, tr("OK"));
        hideButton(btnNo);
        hideButton(btnCan);
        break;
    case 2:
        showButton(btnYes, tr("Yes"));
        btnNo->move(RightEdge(btnYes) + 4, btnYes->y());
        showButton(btnNo, tr("No"));
        hideButton(btnCan);
        last = btnNo;
        break;
    default:
        showButton(btnYes, tr("Yes"));
        btnNo->move(RightEdge(btnYes) + 4, btnYes->y());
        showButton(btnNo, tr("No"));
        btnCan->move(RightEdge(btnNo) + 4, btnYes->y());
        showButton(btnCan, tr("Cancel"));
        last = btnCan;
        break;
    }
    FitToText(text, last);
    CentreOnMainWindow();
}

void TfrmMsgBox::Prepare(int kind, const std::string& caption, const std::string& text) {
    Prepare(kind, QString::fromStdString(caption), QString::fromStdString(text));
}

void TfrmMsgBox::Prepare(int kind, const char* caption, const char* text) {
    Prepare(kind, QString::fromUtf8(caption), QString::fromUtf8(text));
}

void TfrmMsgBox::FitToText(const QString& text, QPushButton* lastButton) {
    const QFontMetrics metrics(lblWork->font());
    int widest = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int width = std::max(widest, RightEdge(lastButton) - lblWork->x());
    lblWork->setGeometry(lblWork->x(), lblWork->y(), width,
                         metrics.height() * static_cast<int>(lines.size()));

    int clientWidth = RightEdge(lblWork) + 8;
    int labelWidth = clientWidth - lblMsg->x() - labelRightMargin_;
    // The label's own layout may want a pixel or two more than the measured
    // advance (hinting, full-width punctuation) and would then break the
    // longest line: widen the box until every line stays whole.
    const int unwrapped = lblMsg->heightForWidth(QWIDGETSIZE_MAX);
    for (int extra = 0;
         extra < 2 * metrics.averageCharWidth() && lblMsg->heightForWidth(labelWidth) > unwrapped;
         ++extra) {
        ++labelWidth;
        ++clientWidth;
    }
    // The label holds two lines; a longer text (port advice, an import's
    // summary) would be cut off, so the label grows to the text's height and
    // the buttons and the check box move down by as much.
    const int labelHeight = std::max(kLabelHeight, lblMsg->heightForWidth(labelWidth));
    lblMsg->resize(labelWidth, labelHeight);
    const int drop = labelHeight - kLabelHeight;
    for (QPushButton* button : {btnYes, btnNo, btnCan})
        button->move(button->x(), kButtonTop + drop);
    ckDispOff->move(ckDispOff->x(), kCheckBoxTop + drop);
    setFixedSize(clientWidth, BottomEdge(btnYes) + 8);
}

void TfrmMsgBox::CentreOnMainWindow() {
    if (mainWindow_ == nullptr) {
        return;
    }
    const QRect main = mainWindow_->frameGeometry();
    const QSize self = frameGeometry().size();
    // Integer division truncates towards zero, also for a box wider than
    // the window.
    move(main.x() + (main.width() - self.width()) / 2,
         main.y() + (main.height() - self.height()) / 2);
}

int TfrmMsgBox::ShowModal() {
    answer_ = 0;
    showing_ = true;
    if (const Answerer answerer = CurrentAnswerer()) {
        OnShown();
        answerer(*this);
    } else {
        exec();
    }
    showing_ = false;
    emit closed();
    return answer_ != 0 ? answer_ : ResultCancel;
}

void TfrmMsgBox::CloseWithOk() {
    if (showing_) {
        ButtonClicked(btnYes, ResultOk);
    }
}

void TfrmMsgBox::SetAnswerer(Answerer answerer) {
    CurrentAnswerer() = std::move(answerer);
}

QString TfrmMsgBox::Text() const {
    return lblMsg->text();
}

bool TfrmMsgBox::DispOffChecked() const {
    return ckDispOff->isChecked();
}

void TfrmMsgBox::SetDispOff(bool checked) {
    ckDispOff->setChecked(checked);
}

void TfrmMsgBox::reject() {
    Finish(ResultCancel);
}

void TfrmMsgBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    OnShown();
}

void TfrmMsgBox::ButtonClicked(QPushButton* button, int result) {
    tagYes_ = button == btnYes ? 1 : 0;
    tagNo_ = button == btnNo ? 1 : 0;
    tagCan_ = button == btnCan ? 1 : 0;
    Finish(result);
}

void TfrmMsgBox::Finish(int result) {
    answer_ = result;
    done(result);
}

void TfrmMsgBox::OnShown() {
    if (player_ != nullptr && sounds_ != nullptr) {
        const std::string& path = kind_ == 0                 ? sounds_->SoundChimes
                                  : kind_ >= 1 && kind_ <= 3 ? sounds_->SoundAction
                                                             : sounds_->SoundChord;
        player_->playAsync(path);
    }
    // Enter then answers "OK" or "Yes".
    btnYes->setFocus();
}

} // namespace quvan::app
