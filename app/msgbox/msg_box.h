#pragma once
// The program's one message box: every notice and question goes through it,
// so all of them look, sound and answer the same way.

#include "app/core/app_settings.h"
#include "platform/sound/sound_player.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quvan::app {

class TfrmMsgBox : public QDialog {
    Q_OBJECT

  public:
    // Results of ShowModal; callers compare with ResultOk.
    static constexpr int ResultOk = 1;     // "OK" or "Yes"
    static constexpr int ResultCancel = 2; // "No", "Cancel" or the close box

    // mainWindow: the window the box centres on (may be null: no centring).
    // sounds: the current sound paths, read each time the box is shown.
    // player: plays them; may be null for silence.
    TfrmMsgBox(QWidget* mainWindow, const SoundPaths* sounds, platform::SoundPlayer* player);

    // Sets up kind, caption and text, sizes the box to the text and centres
    // it; does not show it. Kind 0: "OK" with the check box "次回から表示しない";
    // 1: "OK"; 2: "Yes", "No"; any other: "Yes", "No", "Cancel".
    void Prepare(int kind, const QString& caption, const QString& text);
    void Prepare(int kind, const std::string& caption, const std::string& text);
    void Prepare(int kind, const char* caption, const char* text); // UTF-8

    // Shows the box modally (or hands it to the answerer) and returns
    // ResultOk or ResultCancel.
    int ShowModal();

    // Closes a showing box from the program as if "OK"/"Yes" were pressed.
    void CloseWithOk();

    // While set, ShowModal does not wait for a user: it plays the sound as
    // usual, then calls the answerer (with Showing() true), which acts on the
    // box like a user: clicks a button, ticks the check box, or calls
    // CloseWithOk. A box left unanswered counts as closed by its close box
    // (ResultCancel). Lets tests and scripted runs drive the box without a
    // screen; the layout is the same as on screen.
    using Answerer = std::function<void(TfrmMsgBox&)>;
    static void SetAnswerer(Answerer answerer);

    int Kind() const { return kind_; }
    QString Text() const;
    bool Showing() const { return showing_; }
    // 1 for the button that closed the box last, 0 for the other two.
    int YesTag() const { return tagYes_; }
    int NoTag() const { return tagNo_; }
    int CanTag() const { return tagCan_; }
    // Not reset by Prepare: the caller unticks it before showing and reads it
    // after the box has closed.
    bool DispOffChecked() const;
    void SetDispOff(bool checked);

    QLabel* lblMsg;
    QLabel* lblWork;
    QPushButton* btnYes;
    QPushButton* btnNo;
    QPushButton* btnCan;
    QCheckBox* ckDispOff;

  signals:
    // ShowModal has returned: the box is no longer showing.
    void closed();

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ButtonClicked(QPushButton* button, int result);
    void Finish(int result);
    void OnShown();
    void FitToText(const QString& text, QPushButton* lastButton);
    void CentreOnMainWindow();

    QWidget* mainWindow_;
    const SoundPaths* sounds_;
    platform::SoundPlayer* player_;
    int kind_ = 0;
    int tagYes_ = 0;
    int tagNo_ = 0;
    int tagCan_ = 0;
    bool showing_ = false;
    int answer_ = 0; // 0 while the box is unanswered
    int labelRightMargin_ = 0;
};

} // namespace quvan::app
