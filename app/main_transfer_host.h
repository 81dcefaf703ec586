#pragma once
// The main window as the board transfers of the table subsystem see it.

#include "app/main_window.h"
#include "table/ui/transfer_host.h"

namespace quvan::app {

class MainTransferHost final : public table_ui::TransferHost {
  public:
    explicit MainTransferHost(TfrmMain& main) : main_(main) {}

    int showMessage(int kind, const QString& caption, const QString& text) override {
        return main_.messages().show(kind, caption, text);
    }
    void setLearningIndicator(bool on) override { main_.SetLearningIndicator(on); }
    bool tableModified() const override { return main_.state().TableModified; }
    void setTableModified(bool modified) override { main_.SetTableModified(modified); }
    void appendLog(const QString& line) override { main_.appendLog(line); }
    void clearLog() override { main_.clearLog(); }
    bool proEdition() const override { return main_.state().ProEdition; }
    std::string boardVersion() const override { return main_.state().BoardVersion; }
    void reportLineLost() override { main_.ReportLineLost(); }

  private:
    TfrmMain& main_;
};

} // namespace quvan::app
