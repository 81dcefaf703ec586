#pragma once
// What the table commands (File New, Open and Save, the path commands, the
// grid's editing and the start-up load) need from the main window. The
// application implements it; the table subsystem knows nothing else of the
// window, so it can be built and tested without one.

#include <QString>
#include <string>

namespace quvan::table_ui {

class TableHost {
  public:
    virtual ~TableHost() = default;

    // The program's message box: 1 for OK/Yes.
    virtual int showMessage(int kind, const QString& caption, const QString& text) = 0;
    // TableModified, which the status bar shows and closing asks about.
    virtual bool tableModified() const = 0;
    virtual void setTableModified(bool modified) = 0;
    // The receive log memoRecv.
    virtual void appendLog(const QString& line) = 0;
    virtual void clearLog() = 0;
    // The status bar's panel for the current file, or the path just chosen.
    virtual void showFilePath(const QString& path) = 0;

    // The paths of the settings file.
    virtual std::string csvFilePath() const = 0;
    virtual void setCsvFilePath(const std::string& path) = 0;
    virtual std::string hexFilePath() const = 0;
    virtual void setHexFilePath(const std::string& path) = 0;
    virtual std::string soundFolder() const = 0;
    // folder ends with "/"; the program's sounds are taken from it from now on.
    virtual void setSoundFolder(const std::string& folder) = 0;

    // The monitor switch (double-click on the status bar): loads echo every
    // row into the receive log while it is on.
    virtual bool monitorMode() const = 0;
    virtual void setMonitorMode(bool on) = 0;

    // How many wave lanes the edition shows.
    virtual int waveLanes() const = 0;
    // The connection check run when no port is open; true when a board answered.
    virtual bool connectBoard() = 0;
};

} // namespace quvan::table_ui
