#include "app/simulated_board.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>

namespace quvan::app {

SimulatedBoard::~SimulatedBoard() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(2000)) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }
}

QString SimulatedBoard::start(const QStringList& simulatorArguments, QString* error) {
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath("quvan-sim");
    if (!QFileInfo(program).isExecutable()) {
        *error = tr("ボードのシミュレーター (quvan-sim) が見つかりません: %1").arg(program);
        return {};
    }
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Should the tool crash, the simulator stops with it.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(program, simulatorArguments);
    if (!process_.waitForStarted(3000)) {
        *error = tr("ボードのシミュレーターを起動できません: %1").arg(process_.errorString());
        return {};
    }
    // The simulator announces its terminal as "PTY <path>" on its first line.
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(5000)) {
            *error = tr("ボードのシミュレーターがポートを知らせませんでした。");
            return {};
        }
    }
    const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
    if (!line.startsWith("PTY ")) {
        *error = tr("ボードのシミュレーターの最初の行が想定と違います: %1").arg(line);
        return {};
    }
    return line.mid(4).trimmed();
}

} // namespace quvan::app
