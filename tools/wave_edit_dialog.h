#pragma once
// The wave information editor ("WaveEdit"): the learned signal of one table
// row as numbers the user can edit, with the byte-code conversion, firing the
// edited signal ("IR Out") and storing it into the table ("OK"). Modeless and
// on top; the conversion and the storing use the row selected in the table
// at the moment they run. The logic lives in tools/core/wave_edit.h.

#include "tools/core/wave_edit.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quvan {
class LearningTable;
}

namespace quvan::tools {

// What the editor needs from the main window.
class WaveEditHost {
  public:
    virtual ~WaveEditHost() = default;
    // The table row under the grid cursor; 0 when there is none.
    virtual int selectedRow() const = 0;
    // Puts the grid cursor on `row`, column 1, and gives the grid the focus.
    virtual void selectRow(int row) = 0;
    // Screen position of the top left corner of the row's Frames cell.
    virtual QPoint framesCellOnScreen(int row) const = 0;
    // The output boxes IR1 .. IR4.
    virtual std::array<bool, 4> outputs() const = 0;
    // True when the port is open or the connection check found the board.
    virtual bool connectBoard() = 0;
    // Why the board could not be reached, when it can be put right; may be empty.
    virtual QString noBoardAdvice() const { return {}; }
    virtual void sendCommand(const std::string& text) = 0;
    virtual void appendLog(const QString& line) = 0;
    virtual void setLearningIndicator(bool on) = 0;
    // The program's message box; 1 for OK/Yes.
    virtual int showMessage(int kind, const QString& caption, const QString& text) = 0;
    virtual void setTableModified() = 0;
};

class TfrmWaveEdit final : public QDialog {
    Q_OBJECT
  public:
    TfrmWaveEdit(LearningTable& table, WaveEditHost& host, QWidget* parent = nullptr);

    // "波形情報": fills the editor from the selected row and shows it.
    void OpenForSelectedRow();
    void btnOkClick();
    void btnIrOutClick();
    // Enter in edtByteCode.
    void ByteCodeToPatternCode();

    WaveEditTexts texts() const;
    void setTexts(const WaveEditTexts& texts);

    QTableWidget* sGrid = nullptr;
    QLineEdit* edtCarry = nullptr;
    QLineEdit* edtDataBits = nullptr;
    QLineEdit* edtRepeatBit = nullptr;
    QLabel* lblPcode = nullptr;
    QLineEdit* edtPcode = nullptr;
    QLineEdit* edtByteCode = nullptr;
    QPushButton* btnIrOut = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    static constexpr int kClientWidth = 338;

  private:
    void FormCreate();
    void edtPcodeChange();
    void FitWidthToRuler();
    void FitByteCodeWidth();
    void FollowPcodeScroll();
    void Refuse(const std::string& refusal, const QString& consequence);

    LearningTable& table_;
    WaveEditHost& host_;
    QWidget* rulerClip_ = nullptr;
};

} // namespace quvan::tools
