#pragma once
// The small window that shows how far a read-back has come and lets the
// user stop it. Modal to the main window, so the table is not edited while
// it fills; everything else keeps running.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quvan::table_ui {

class ReadBackProgress final : public QDialog {
    Q_OBJECT
  public:
    explicit ReadBackProgress(QWidget* parent);

    QLabel* lblStatus = nullptr;
    QProgressBar* pgLoad = nullptr;
    QPushButton* btnStop = nullptr;

    void begin(int total);
    void showEntry(int entry, int total);
    void showStopping();

  signals:
    void stopRequested();

  public slots:
    void reject() override; // Esc and the close box ask to stop

  private:
    bool stopping_ = false;
};

} // namespace quvan::table_ui
