// Program entry of the tool. The edition is fixed by the title it is built with.

#include "app/program.h"
#include "app/simulated_board.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
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
    QApplication::setWindowIcon(QIcon(app::IsProTitle(title.toStdString())
                                          ? QStringLiteral(":/icons/quvan-tool-pro-256.png")
                                          : QStringLiteral(":/icons/quvan-tool-256.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(title);
    parser.addHelpOption();
    const QCommandLineOption simulate(
        "simulate", "Start with the simulated board attached (quvan-sim on a pseudo-terminal).");
    const QCommandLineOption port(
        "port", "Use this serial port for this run instead of the saved one.", "name");
    QCommandLineOption quitAfterStart(
        "quit-after-start", "Quit as soon as the start sequence has run (for measurements).");
    quitAfterStart.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption searchPorts(
        "search-ports",
        "Ports a port search walks, comma-separated, instead of every serial device "
        "of the machine (an empty list searches nothing).",
        "names");
    parser.addOption(simulate);
    parser.addOption(port);
    parser.addOption(searchPorts);
    parser.addOption(quitAfterStart);
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

    platform::FixedPortLister listedPorts;
    if (parser.isSet(searchPorts)) {
        for (const QString& name : parser.value(searchPorts).split(',', Qt::SkipEmptyParts)) {
            listedPorts.names.push_back(name.trimmed().toStdString());
        }
        options.ports = &listedPorts;
    }

    app::Program program(options);
    if (parser.isSet(quitAfterStart)) {
        QObject::connect(&program.frmMain(), &app::TfrmMain::startupFinished, &application,
                         &QApplication::quit, Qt::QueuedConnection);
    }
    program.frmMain().show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    try {
        return Run(application);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString());
    }
    return 1;
}
