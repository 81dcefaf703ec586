// Program entry of the tool. The edition is fixed by the title it is built with.

#include "app/program.h"
#include "app/simulated_board.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <exception>

#ifndef QUVAN_APP_TITLE
#define QUVAN_APP_TITLE "TAVIRO QUVAN-ARM Tool"
#endif

using namespace quvan;

namespace {

int Run(QApplication& application) {
    app::ApplyLavenderClassico(application);
    const QString title = QStringLiteral(QUVAN_APP_TITLE);
    QApplication::setApplicationName(title);

    QCommandLineParser parser;
    parser.setApplicationDescription(title);
    parser.addHelpOption();
    const QCommandLineOption simulate(
        "simulate", "Start with the simulated board attached (quvan-sim on a pseudo-terminal).");
    const QCommandLineOption port("port", "Use this serial port for this run instead of the saved one.",
                                  "name");
    parser.addOption(simulate);
    parser.addOption(port);
    parser.process(application);

    app::ProgramOptions options;
    options.title = title;
    options.settingsLocation = app::SettingsLocationOfThisProgram();

    app::SimulatedBoard simulator;
    if (parser.isSet(simulate)) {
        QStringList arguments{"--auto-learn"};
        if (app::IsProTitle(title.toStdString())) {
            arguments << "--pro";
        }
        QString error;
        const QString path = simulator.start(arguments, &error);
        if (path.isEmpty()) {
            QMessageBox::critical(nullptr, title, error);
            return 1;
        }
        options.port = path.toStdString();
    }
    if (parser.isSet(port)) {
        options.port = parser.value(port).toStdString();
    }

    app::Program program(options);
    program.frmMain().show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    try {
        return Run(application);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString());
    }
    return 1;
}
