// Program entry of the tool. The edition is fixed by the title it is built with.

#include "app/core/settings_file.h"
#include "app/display_language.h"
#include "app/program.h"
#include "app/simulated_board.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
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
    const QCommandLineOption lang(
        "lang",
        "Language of the window for this run: ja (Japanese) or en (English). Without it, the "
        "language chosen under the Option menu (Japanese until one is chosen).",
        "code");
    parser.addOption(simulate);
    parser.addOption(lang);
    parser.addOption(port);
    parser.addOption(searchPorts);
    parser.addOption(quitAfterStart);
    parser.process(application);

    app::ProgramOptions options;
    options.title = title;
    options.settingsLocation = app::SettingsLocationOfThisProgram();

    // The language comes first: every window is made in it. The window takes
    // the settings as read here.
    options.settings = app::LoadSettings(options.settingsLocation);
    const std::string_view saved = app::LanguageCode(options.settings->Language);
    QString code = QString::fromUtf8(saved.data(), static_cast<qsizetype>(saved.size()));
    if (parser.isSet(lang))
        code = parser.value(lang);
    const std::optional<app::UiLanguage> language = app::ParseUiLanguage(code);
    if (!language) {
        std::fprintf(stderr, "%s: --lang takes ja or en, not \"%s\"\n",
                     qPrintable(QCoreApplication::arguments().value(0)), qPrintable(code));
        return 2;
    }
    app::InstallUiLanguage(application, *language);

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
