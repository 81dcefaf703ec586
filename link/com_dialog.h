#pragma once
// The communication settings dialog ("ComPort Setting"): edits the port
// record and the board's infrared completion code, and searches the ports
// each time it is shown.

#include "link/board_link.h"
#include "link/port_search.h"
#include "platform/port_list.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quvan::link {

class TfrmCom final : public QDialog {
    Q_OBJECT
  public:
    // Shows a message box of the given kind; returns 1 for OK/Yes.
    using ShowMessage = std::function<int(int kind, const QString& caption, const QString& text)>;

    TfrmCom(BoardLink& link, platform::PortLister& ports, QWidget* mainWindow);

    void setShowMessage(ShowMessage show) { showMessage_ = std::move(show); }
    // The board answered a search on this port (the main window logs it).
    void setBoardFound(std::function<void(const std::string&)> found) {
        boardFound_ = std::move(found);
    }
    // Shows or hides the main menu's "&SystemPath Setup".
    void setSystemPathVisible(std::function<void(bool)> visible) {
        systemPathVisible_ = std::move(visible);
    }

    // The program's completion-code flag (true = " ACK (0x06)"), which the
    // dialog shows and which "設定" takes.
    void bindIrAck(bool* irAck) { irAck_ = irAck != nullptr ? irAck : &ownIrAck_; }
    bool irAck() const { return *irAck_; }

    void SetAdvancedEnabled(bool on);
    bool SearchPort(bool fillList);

    // Whether the search of the current showing has run (the dialog's tag).
    int searchTag() const { return searchTag_; }

    QComboBox* cmbPort;
    QComboBox* cmbBps;
    QComboBox* cmbDataBit;
    QComboBox* cmbParity;
    QComboBox* cmbStopBit;
    QComboBox* cmbSendHead;
    QComboBox* cmbSendDlmt;
    QComboBox* cmbRecvDlmt;
    QLineEdit* edtRecvTout;
    QRadioButton* rbACK;
    QRadioButton* rbCRLF;
    QPushButton* btnPort;
    QPushButton* btnOk;
    QPushButton* btnEsc;

    void btnOkClick();
    void btnPortClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // Widens the port field (and the dialog) to show the whole port name.
    void FitPortField();

  private:
    void BuildControls();
    void LoadFromRecord();
    int Message(int kind, const QString& caption, const QString& text);

    QGroupBox* gbComPara_ = nullptr;
    QGroupBox* gbSend_ = nullptr;
    QGroupBox* gbRecv_ = nullptr;
    QGroupBox* groupBox1_ = nullptr;
    BoardLink& link_;
    platform::PortLister& ports_;
    QWidget* mainWindow_;
    ShowMessage showMessage_;
    std::function<void(const std::string&)> boardFound_;
    std::function<void(bool)> systemPathVisible_;
    bool ownIrAck_ = true;
    bool* irAck_ = &ownIrAck_;
    int searchTag_ = 0;
};

} // namespace quvan::link
