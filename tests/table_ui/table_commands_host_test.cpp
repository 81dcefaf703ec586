// The table commands over bare widgets and a recorded TableHost: no main
// window, and this executable does not link the application. Everything the
// commands want from the window must come through the host.

#include "../frame/qstring_printer.h"
#include "../frame/temp_dir.h"
#include "../link/pty_pair.h"
#include "link/board_link.h"
#include "platform/serial_port.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/learning_table_model.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "table/ui/table_host.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <deque>
#include <gtest/gtest.h>

namespace quvan::table_ui {
namespace {

class RecordedHost final : public TableHost {
  public:
    int showMessage(int kind, const QString& caption, const QString&) override {
        boxes.push_back(QString::number(kind) + '|' + caption);
        const bool yes = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return yes ? 1 : 0;
    }
    bool tableModified() const override { return modified; }
    void setTableModified(bool on) override { modified = on; }
    void appendLog(const QString& line) override { log.push_back(line); }
    void clearLog() override { log.clear(); }
    void showFilePath(const QString& path) override { shownPath = path; }
    std::string csvFilePath() const override { return csv; }
    void setCsvFilePath(const std::string& path) override { csv = path; }
    std::string hexFilePath() const override { return hex; }
    void setHexFilePath(const std::string& path) override { hex = path; }
    std::string soundFolder() const override { return sounds; }
    void setSoundFolder(const std::string& folder) override { sounds = folder; }
    bool monitorMode() const override { return monitor; }
    void setMonitorMode(bool on) override { monitor = on; }
    int waveLanes() const override { return lanes; }
    bool connectBoard() override {
        ++connectCalls;
        return connect && connect();
    }

    std::vector<QString> boxes;
    std::deque<bool> answers;
    bool modified = false;
    QStringList log;
    QString shownPath;
    std::string csv, hex, sounds = "/old/Sounds/";
    bool monitor = false;
    int lanes = 4;
    int connectCalls = 0;
    std::function<bool()> connect;
};

class TableCommandsOverAHost : public ::testing::Test {
  protected:
    TableCommandsOverAHost() {
        c.sGrid = new QTableView(&window);
        for (QAction** action :
             {&c.mmNew, &c.mmOpen, &c.mmSave, &c.mmOptionCsv, &c.mmOptionHex, &c.mmOptionSnd})
            *action = new QAction(&window);
        for (QCheckBox** box :
             {&c.ckCodeCheck, &c.ckLearningMsg, &c.ckEiritsu, &c.ckSerial, &c.ckPhilips})
            *box = new QCheckBox(&window);
        for (QComboBox** box : {&c.cmbTs, &c.cmbTw, &c.cmbBt}) {
            *box = new QComboBox(&window);
            (*box)->setEditable(true);
        }
        c.pnlCont = new QWidget(&window);
        c.btnTableLoad = new QPushButton(&window);
        c.ckPhilips->hide();
        c.btnTableLoad->hide();
        commands = std::make_unique<TableCommands>(table, link, host, c, window,
                                                   dir.path().string() + "/");
        commands->chooseFile = [this](const FileDialogRequest& request) {
            requests.push_back(request);
            return answer;
        };
    }
    ~TableCommandsOverAHost() override { link.ClosePort(); }

    void Answer(const std::filesystem::path& path) {
        answer = FileDialogChoice{QString::fromStdString(path.string()), kFilterCsv};
    }
    void FillRow1() {
        table.setCell(1, ColCarry, "38.0kHz");
        table.setCell(1, ColComments, "TV");
        table.record(1).Carry = 380;
        table.record(1).DataBits = 1;
    }

    test_support::TempDir dir;
    test_support::PtyPair pty;
    platform::PosixSerialPortOpener opener;
    link::BoardLink link{opener};
    LearningTable table{kStdTableRows};
    QWidget window;
    TableControls c;
    RecordedHost host;
    std::unique_ptr<TableCommands> commands;
    std::vector<FileDialogRequest> requests;
    std::optional<FileDialogChoice> answer;
};

TEST_F(TableCommandsOverAHost, SaveAndOpenKeepTheirStateInTheHost) {
    FillRow1();
    c.ckPhilips->setChecked(true);
    c.cmbTs->setCurrentText("560");
    host.modified = true;
    const auto path = dir.path() / "t.Csv";
    Answer(path);
    commands->FileSave();
    EXPECT_EQ(requests.at(0).initialFileName.toStdString(), dir.path().string() + "/Dat/*.Csv");
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(host.csv, path.string());
    EXPECT_EQ(host.shownPath.toStdString(), path.string());

    // Unsaved work: the host's message box asks, and No keeps everything.
    table.clearRow(1);
    host.modified = true;
    host.answers = {false};
    commands->FileOpen();
    EXPECT_EQ(host.boxes, (std::vector<QString>{"2|警告"}));
    EXPECT_TRUE(table.isBlank(1));
    EXPECT_EQ(requests.size(), 1u);

    // Yes: the file comes back, its header ticks the option in the controls,
    // and with no port open the host's connection check runs; nothing can be
    // sent when it finds no board.
    commands->FileOpen();
    EXPECT_EQ(table.cell(1, ColComments), "TV");
    EXPECT_EQ(requests.at(1).initialFileName.toStdString(), path.string());
    EXPECT_TRUE(c.ckPhilips->isChecked());
    EXPECT_FALSE(c.ckPhilips->isHidden());
    EXPECT_FALSE(c.btnTableLoad->isHidden());
    EXPECT_EQ(c.pnlCont->property("tag").toInt(), 1);
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(host.connectCalls, 1);
    EXPECT_FALSE(link.ComPort.PortOpen);

    // A connection check that finds the board: Open puts it back into
    // transmit mode.
    ASSERT_TRUE(pty.ok());
    host.connect = [this] {
        link.ComPort.PortName = pty.slavePath();
        link.ComPort.SendHead = "無し";
        link.ComPort.SendDlmt = "CRLF";
        return link.OpenPort(false);
    };
    commands->FileOpen();
    EXPECT_EQ(host.connectCalls, 2);
    EXPECT_EQ(pty.read(3), "T\r\n");
    commands->FileOpen(); // the port is open now: no second check
    EXPECT_EQ(host.connectCalls, 2);
    EXPECT_EQ(pty.read(3), "T\r\n");
}

TEST_F(TableCommandsOverAHost, NewAndThePathCommandsChangeTheHostsPaths) {
    std::vector<int> lanesCleared;
    commands->waveView.ClearLanes = [&](int lanes) { lanesCleared.push_back(lanes); };
    host.csv = "/somewhere/old.Csv";
    host.shownPath = "/somewhere/old.Csv";
    commands->FileNew();
    EXPECT_EQ(host.csv, "");
    EXPECT_EQ(host.shownPath, "");
    EXPECT_EQ(lanesCleared, std::vector<int>{4}); // the host's lanes, not a fixed count

    Answer(dir.path() / "fw" / "new.Hex");
    commands->ChooseHexFilePath();
    EXPECT_EQ(host.hex, (dir.path() / "fw" / "new.Hex").string());
    EXPECT_EQ(host.shownPath.toStdString(), host.hex);

    Answer(dir.path() / "snd" / "any.wav");
    commands->ChooseSoundFolder();
    EXPECT_EQ(requests.back().initialFileName, "/old/Sounds/*.Wav");
    EXPECT_EQ(host.sounds, (dir.path() / "snd").string() + "/");
    EXPECT_EQ(host.shownPath.toStdString(), host.sounds);
    EXPECT_EQ(host.csv, "");
}

TEST_F(TableCommandsOverAHost, EditsAndTheMonitorSwitchGoThroughTheHost) {
    commands->model().setData(commands->model().index(0, ColComments), "typed");
    EXPECT_TRUE(host.modified);

    commands->setMonitorMode(true);
    EXPECT_TRUE(host.monitor);
    const auto path = dir.path() / "m.Csv";
    FillRow1();
    Answer(path);
    commands->FileSave();
    host.log = {"old line"};
    commands->FileOpen();
    ASSERT_EQ(host.log.size(), 1);
    EXPECT_TRUE(host.log[0].startsWith("[001] Twc:380,Twb:001,")) << host.log[0].toStdString();

    c.ckLearningMsg->setChecked(true);
    c.ckCodeCheck->setChecked(true);
    EXPECT_FALSE(c.ckLearningMsg->isChecked());
}

} // namespace
} // namespace quvan::table_ui
