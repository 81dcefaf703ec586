#pragma once
// "診断": why the capture of one lane came out as it did, in plain words,
// with buttons for the changes that would get it recognised. Modeless; the
// learning window fills it and carries out the buttons.

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quvan::app {

class DiagnosisDialog final : public QDialog {
    Q_OBJECT
  public:
    DiagnosisDialog(int lanes, QWidget* parent = nullptr);

    struct Content {
        int lane = 0;
        QString summary;
        QStringList lines;
        // Offered when the explanation found them: tolerances that get the
        // capture recognised, the Philips settings that read a bi-phase code.
        bool offerRanges = false;
        int hRange = 0;
        int wRange = 0;
        bool offerPhilips = false;
        int ts = 0;
        int tw = 0;
        int bits = 0;
    };
    void Show(const Content& content);

    int lane() const;
    QString text() const;
    QComboBox* laneBox() const { return laneBox_; }
    QPushButton* rangesButton() const { return ranges_; }
    QPushButton* philipsButton() const { return philips_; }

  signals:
    void laneChosen(int lane);
    void applyRanges(int hRange, int wRange);
    void applyPhilips(int ts, int tw, int bits);

  private:
    QComboBox* laneBox_;
    QLabel* summary_;
    QPlainTextEdit* text_;
    QPushButton* ranges_;
    QPushButton* philips_;
    Content content_;
};

} // namespace quvan::app
