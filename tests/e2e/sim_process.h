#pragma once
// The board simulator as a child process of a test.

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <csignal>
#include <string>
#include <sys/prctl.h>

namespace quvan::test_support {

class SimProcess {
  public:
    explicit SimProcess(QStringList arguments) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // If the test dies, the simulator must go too: left behind, it would
        // hold the test's output open and keep ctest waiting.
        process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process_.start(QStringLiteral(QUVAN_SIM_PATH), arguments << "--control"
                                                                 << "-");
        if (process_.waitForStarted(3000)) {
            while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
            }
            const QString first = QString::fromLocal8Bit(process_.readLine()).trimmed();
            if (first.startsWith("PTY ")) {
                path_ = first.mid(4).toStdString();
            }
        }
    }
    ~SimProcess() {
        if (process_.state() != QProcess::NotRunning) {
            control("quit");
            if (!process_.waitForFinished(2000)) {
                process_.kill();
                process_.waitForFinished(1000);
            }
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return path_; }
    bool running() const { return process_.state() == QProcess::Running; }

    void control(const QByteArray& command) {
        process_.write(command + "\n");
        process_.waitForBytesWritten(1000);
    }

  private:
    QProcess process_;
    std::string path_;
};

// The bytes of a log file the simulator appends to.
inline QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quvan::test_support
