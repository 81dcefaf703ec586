#pragma once
// The main window's commands that talk to the board about the table:
// "QUVANに登録" (registration through TfrmTws), "QUVAN読込み" (read-back),
// "発射テスト" (test firing), and the free command line below the table
// with its send history, the receive log's double-click and its Clear
// button. Installed once by the program over the main window's controls.

#include <QObject>
#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace quvan {
class LearningTable;
}
namespace quvan::link {
class BoardLink;
}

namespace quvan::table_ui {

class ReadBackDriver;
class TableCommands;
class TfrmTws;
class TransferHost;

// The main window's controls these commands own.
struct TransferControls {
    QPushButton* btnTest = nullptr;
    std::array<QCheckBox*, 4> ckTp{};
    QCheckBox* ckCursor = nullptr;
    QCheckBox* ckPcode = nullptr;
    QPushButton* btnTableWrite = nullptr;
    QPushButton* btnTableLoad = nullptr;
    QPushButton* btnSend = nullptr;
    QComboBox* cmbSendText = nullptr;
    QPushButton* btnRecvClear = nullptr;
    QPlainTextEdit* memoRecv = nullptr;
};

class BoardTransfers final : public QObject {
    Q_OBJECT
  public:
    BoardTransfers(link::BoardLink& link, LearningTable& table, TableCommands& commands,
                   TfrmTws& frmTws, TransferHost& host, TransferControls controls, QWidget& window);
    ~BoardTransfers() override;

    ReadBackDriver& readBack() { return *readBack_; }
    bool readBackRunning() const;
    void HandleReadBackLine(const std::string& line);

    // btnTableWrite: the registration dialog, modally.
    void RegisterTable();
    // btnTableLoad.
    void ReadTableFromBoard();
    // btnTest.
    void TestFire();
    // btnSend.
    void SendText();
    // Enter in cmbSendText: remember the text and move to btnSend.
    void SendTextEntered();
    // A double-click in memoRecv at the text position `position`. The word
    // under the pointer is the run of characters between blanks around it,
    // so a click anywhere in "m:NEC,d:00FF,f:1," takes the whole line.
    void LogDoubleClicked(int position);
    void AddSendHistory(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool portOpenOrWarn();
    void wire();

    link::BoardLink& link_;
    LearningTable& table_;
    TableCommands& commands_;
    TfrmTws& frmTws_;
    TransferHost& host_;
    TransferControls c_;
    ReadBackDriver* readBack_;
};

} // namespace quvan::table_ui
