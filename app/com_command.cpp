#include "app/com_command.h"

#include "app/main_window.h"
#include "link/com_dialog.h"

namespace quvan::app {

void RunCommunicationSettings(TfrmMain& main, link::TfrmCom& dialog) {
    link::BoardLink& link = main.boardLink();
    link.ClosePort();
    dialog.bindIrAck(&main.state().settings.IrAck);
    if (dialog.exec() != QDialog::Accepted) {
        // Back on whatever port the record now names: the one a search in the
        // dialog found, or the one before.
        link.OpenPort(true);
        return;
    }
    main.clearLog();
    main.SaveSettings();
    if (!link.ComPort.PortOpen) {
        return;
    }
    main.SetLearningIndicator(false);
    link.SendCommand("T");
    link.WaitResponse(500);
    link.SendCommand("V");
    link.WaitResponse(500);
    // The board's "IrEND:" reply sets the flag again from what it really does.
    link.SendCommand(main.state().settings.IrAck ? "IrEND:ACK" : "IrEND:CRLF");
}

} // namespace quvan::app
