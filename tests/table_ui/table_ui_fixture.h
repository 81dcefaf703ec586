#pragma once
// A whole program without a screen, ports or sounds, for driving the table
// commands through the real main window. Message boxes are answered from
// `answers` (true = Yes/OK; an empty queue answers Yes) and remembered in
// `shown`; file dialogs are answered from `dialogAnswer`.

#include "../frame/qstring_printer.h"
#include "../frame/temp_dir.h"
#include "app/program.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/learning_table_model.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"

#include <QTableView>
#include <QTest>
#include <deque>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quvan::table_ui {

class NoPorts final : public platform::PortLister {
  public:
    std::vector<std::string> ports() override { return {}; }
};

class Silence final : public platform::SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

struct ShownBox {
    int kind;
    QString caption;
    QString text;
};

class TableUiTest : public ::testing::Test {
  protected:
    TableUiTest() {
        app::TfrmMsgBox::SetAnswerer([this](app::TfrmMsgBox& box) {
            shown.push_back({box.Kind(), box.windowTitle(), box.Text()});
            const bool yes = answers.empty() || answers.front();
            if (!answers.empty())
                answers.pop_front();
            if (yes)
                box.CloseWithOk();
            else
                box.btnNo->click();
        });
    }
    ~TableUiTest() override {
        program.reset();
        app::TfrmMsgBox::SetAnswerer(nullptr);
    }

    app::Program& Start(const QString& title = "TAVIRO QUVAN-ARM Tool") {
        program.reset();
        app::ProgramOptions options;
        options.title = title;
        options.settingsLocation = app::SettingsLocationFor(dir.path() / "quvan-tool", "", "");
        options.ports = &ports;
        options.sounds = &silence;
        options.port = std::string("/dev/quvan-none");
        program = std::make_unique<app::Program>(options);
        commands().chooseFile = [this](const FileDialogRequest& request) {
            dialogRequests.push_back(request);
            return dialogAnswer;
        };
        return *program;
    }

    app::TfrmMain& main() { return program->frmMain(); }
    app::MainWidgets& w() { return main().widgets(); }
    LearningTable& table() { return program->learningTable(); }
    TableCommands& commands() { return program->tableCommands(); }
    TableGrid& grid() { return commands().grid(); }
    GridPopupMenu& popup() { return commands().popupMenu(); }

    // A row with texts and a record that tell it apart from every other row.
    void FillRow(int row, const std::string& name) {
        table().setCell(row, ColCarry, "38.0kHz");
        table().setCell(row, ColFrames, "1");
        table().setCell(row, ColComments, name);
        table().setCell(row, ColResult, "r" + name);
        LearnedSignal& signal = table().record(row);
        signal.Carry = 380 + row;
        signal.DataBits = 2;
        signal.PatternWidth[0] = 1120;
        signal.PatternHigh[0] = 560;
        signal.PatternCode[1] = static_cast<std::uint8_t>(row % 16);
    }

    static std::string ReadBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    test_support::TempDir dir;
    NoPorts ports;
    Silence silence;
    std::unique_ptr<app::Program> program;
    std::vector<ShownBox> shown;
    std::deque<bool> answers;
    std::vector<FileDialogRequest> dialogRequests;
    std::optional<FileDialogChoice> dialogAnswer;
};

} // namespace quvan::table_ui
