#include "platform/shell/shell_service.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

namespace quvan::platform {

ShellRun DesktopShell::OpenAndWait(const std::string& path, const std::string& parameters) {
    ShellRun run;
    const QFileInfo file(QString::fromStdString(path));
    if (!file.exists()) {
        run.error = path + ": no such file";
        return run;
    }
    QProcess process;
    const bool direct = file.isFile() && file.isExecutable();
    if (direct) {
        process.setProgram(file.absoluteFilePath());
        process.setArguments(QProcess::splitCommand(QString::fromStdString(parameters)));
    } else {
        process.setProgram(QString::fromStdString(opener_));
        process.setArguments({file.absoluteFilePath()});
    }
    // Setup scripts expect to find their own files beside them.
    process.setWorkingDirectory(file.absolutePath());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start();
    if (!process.waitForStarted(10000)) {
        run.error = process.program().toStdString() + ": " + process.errorString().toStdString();
        return run;
    }
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(-1); // left the loop early: still wait for the end
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.started = true;
    if (!direct && run.exitCode != 0) {
        // The opener ran but found nothing to open the file with.
        run.started = false;
        run.error =
            opener_ + " could not open " + path + " (exit " + std::to_string(run.exitCode) + ")";
    }
    return run;
}

} // namespace quvan::platform
