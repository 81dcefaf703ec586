#pragma once
// The DIP switch setup ("DIP Switch Setup"): the switch bank DSW1 as seven
// toggles beside the four lists they select, filled from the board's
// replies when the dialog opens and kept in step while the user edits.
// Closing with OK leads to ApplyDipSwitches, which writes the settings back
// and resets the board.

#include "link/board_link.h"
#include "maintenance/dip_switches.h"

#include <QDialog>
#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace quvan::maintenance {

class TfrmDsw final : public QDialog {
    Q_OBJECT
  public:
    TfrmDsw(link::BoardLink& link, QWidget* mainWindow);

    // A board line the router did not claim while the dialog is visible.
    void HandleDswReply(const std::string& line);
    // Sends the settings, each followed by its wait, then "Reset".
    void ApplyDipSwitches();

    const DipSwitchState& switchState() const { return state_; }
    // Whether the queries of this opening are still going out.
    bool querying() const { return queryIndex_ >= 0; }

    QFrame* pnlBase;
    QFrame* pnlDswCaption;
    std::array<QPushButton*, 7> tgswNum{}; // tgswNum1..7
    QComboBox* cmbRSbps;
    QComboBox* cmbInputSel;
    QComboBox* cmbFrameMax;
    QComboBox* cmbUSBbps;
    QPushButton* btnOk;
    QPushButton* btnCancel;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void BuildControls();
    QComboBox* ListOf(DipList list) const;
    void SwitchClicked(int number, bool on);
    void ListClosedUp(DipList list, int index);
    void ShowState();
    void NextQuery();

    link::BoardLink& link_;
    QWidget* mainWindow_;
    DipSwitchState state_;
    QTimer* replyWait_;
    int queryIndex_ = -1; // the query awaiting its reply; -1 when none
};

} // namespace quvan::maintenance
