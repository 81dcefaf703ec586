#pragma once
// The main window as the table commands of the table subsystem see it.

#include "table/ui/table_host.h"

#include <string>

namespace quvan::app {

class TfrmMain;

class MainTableHost final : public table_ui::TableHost {
  public:
    // executableDir ends with "/": the sound folder's default is beside it.
    MainTableHost(TfrmMain& main, std::string executableDir);

    int showMessage(int kind, const QString& caption, const QString& text) override;
    bool tableModified() const override;
    void setTableModified(bool modified) override;
    void appendLog(const QString& line) override;
    void clearLog() override;
    void showFilePath(const QString& path) override;
    std::string csvFilePath() const override;
    void setCsvFilePath(const std::string& path) override;
    std::string hexFilePath() const override;
    void setHexFilePath(const std::string& path) override;
    std::string soundFolder() const override;
    void setSoundFolder(const std::string& folder) override;
    bool monitorMode() const override;
    void setMonitorMode(bool on) override;
    int waveLanes() const override;
    bool connectBoard() override;

  private:
    TfrmMain& main_;
    std::string executableDir_;
};

} // namespace quvan::app
