#include "app/main_table_host.h"

#include "app/core/app_settings.h"
#include "app/main_window.h"

#include <QStyle>

namespace quvan::app {

MainTableHost::MainTableHost(TfrmMain& main, std::string executableDir)
    : main_(main), executableDir_(std::move(executableDir)) {}

int MainTableHost::showMessage(int kind, const QString& caption, const QString& text) {
    return main_.messages().show(kind, caption, text);
}

bool MainTableHost::tableModified() const {
    return main_.state().TableModified;
}

void MainTableHost::setTableModified(bool modified) {
    main_.SetTableModified(modified);
}

void MainTableHost::appendLog(const QString& line) {
    main_.appendLog(line);
}

void MainTableHost::clearLog() {
    main_.clearLog();
}

void MainTableHost::showFilePath(const QString& path) {
    main_.widgets().sBarPanels[2]->setText(path);
}

std::string MainTableHost::csvFilePath() const {
    return main_.state().settings.CsvFilePath;
}

void MainTableHost::setCsvFilePath(const std::string& path) {
    main_.state().settings.CsvFilePath = path;
    main_.RefreshTitle();
}

std::string MainTableHost::hexFilePath() const {
    return main_.state().settings.HexFilePath;
}

void MainTableHost::setHexFilePath(const std::string& path) {
    main_.state().settings.HexFilePath = path;
}

std::string MainTableHost::soundFolder() const {
    return main_.state().settings.SoundFolder;
}

void MainTableHost::setSoundFolder(const std::string& folder) {
    AppSettings& settings = main_.state().settings;
    settings.SoundFolder = folder;
    BuildSoundPaths(settings, executableDir_);
}

bool MainTableHost::monitorMode() const {
    return main_.widgets().sBar->property("monitor").toBool();
}

void MainTableHost::setMonitorMode(bool on) {
    ClickStatusBar* bar = main_.widgets().sBar;
    bar->setProperty("monitor", on);
    // The style sheet colours the panels by the bar's property; they must be
    // polished again to pick the new colour up.
    bar->style()->unpolish(bar);
    bar->style()->polish(bar);
    for (QWidget* panel : bar->findChildren<QWidget*>()) {
        panel->style()->unpolish(panel);
        panel->style()->polish(panel);
    }
    bar->update();
}

int MainTableHost::waveLanes() const {
    return main_.state().WaveLanes;
}

bool MainTableHost::connectBoard() {
    return main_.ConnectBoard();
}

} // namespace quvan::app
