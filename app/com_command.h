#pragma once
// The main menu's "通信設定 (&Com)": the settings dialog, then the board
// re-initialised on the port it chose.

namespace quvan::link {
class TfrmCom;
}

namespace quvan::app {

class TfrmMain;

void RunCommunicationSettings(TfrmMain& main, link::TfrmCom& dialog);

} // namespace quvan::app
