// Program entry of the tool. The edition is fixed by the title it is built with.

#include "app/main_window.h"
#include "app/qt_message_service.h"
#include "app/simulated_board.h"
#include "link/board_link.h"
#include "platform/port_list.h"
#include "platform/serial_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#ifndef QUVAN_APP_TITLE
#define QUVAN_APP_TITLE "TAVIRO QUVAN-ARM Tool"
#endif

using namespace quvan;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QString title = QStringLiteral(QUVAN_APP_TITLE);
    QApplication::setApplicationName(title);

    QCommandLineParser parser;
    parser.setApplicationDescription(title);
    parser.addHelpOption();
    const QCommandLineOption simulate("simulate",
                                      "Start with the simulated board attached (quvan-sim on a pseudo-terminal).");
    const QCommandLineOption port("port", "Use this serial port instead of the saved one.", "name");
    parser.addOption(simulate);
    parser.addOption(port);
    parser.process(application);

    platform::PosixSerialPortOpener opener;
    platform::SystemPortLister ports;
    link::BoardLink link(opener);
    app::QtMessageService messages;

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
        link.ComPort.PortName = path.toStdString();
    }
    if (parser.isSet(port)) {
        link.ComPort.PortName = parser.value(port).toStdString();
    }

    app::TfrmMain frmMain(title, link, messages, ports);
    messages.setParent(&frmMain);
    frmMain.show();
    const int status = QApplication::exec();
    link.ClosePort();
    return status;
}
