#pragma once
// Starts the board simulator on a pseudo-terminal for --simulate, and stops
// it when the tool ends.

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace quvan::app {

class SimulatedBoard {
    Q_DECLARE_TR_FUNCTIONS(SimulatedBoard)

  public:
    ~SimulatedBoard();
    // Starts quvan-sim from the tool's own folder; returns the pseudo-terminal
    // path to use as the port, or an empty text with *error filled.
    QString start(const QStringList& simulatorArguments, QString* error);

  private:
    QProcess process_;
};

} // namespace quvan::app
