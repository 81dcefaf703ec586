// Learning in the main window against the simulated board: switch learning
// on, let the board capture remote codes, and watch rows, lanes and the wave
// data grid fill.

#include "../frame/qstring_printer.h"
#include "app/diagnosis_dialog.h"
#include "app/learning_window.h"
#include "capture/view/wave_view.h"
#include "sim_process.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "test_program.h"
#include "tools/wave_data_dialog.h"

#include <QToolButton>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::ReadFileBytes;
using test_support::SimProcess;
using test_support::TempDir;

class Learning : public ::testing::Test {
  protected:
    Learning() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            if (box.Kind() == 0 && tickDoNotShowAgain) {
                box.SetDispOff(true);
            }
            box.CloseWithOk();
        });
    }
    ~Learning() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    void Start(const QString& title, const std::string& port) {
        program = std::make_unique<Program>(
            test_support::TestProgramOptions(title, dir, ports, silence, port));
        learning = &program->learning();
        waveData = &program->frmWave();
        program->frmMain().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().StartupDone; }, 5000));
    }

    std::string Cell(int row, int column) { return program->learningTable().cell(row, column); }

    TempDir dir;
    platform::FixedPortLister ports;
    // Remembers what was played, in order.
    struct Sounds final : platform::SoundPlayer {
        std::vector<std::string> played;
        void playAsync(const std::string& path) override { played.push_back(path); }
    } silence;
    std::unique_ptr<Program> program;
    tools::TfrmWave* waveData = nullptr;
    LearningWindow* learning = nullptr;
    QStringList shown;
    bool tickDoNotShowAgain = false;
    QString wireLog() const { return QString::fromStdString((dir.path() / "wire.log").string()); }
};

TEST_F(Learning, TwoRemotesLandInConsecutiveRows) {
    SimProcess sim({"--wire-log", wireLog()});
    Start("TAVIRO QUVAN-ARM Tool", sim.path());
    TfrmMain& main = program->frmMain();
    QTest::mouseClick(main.widgets().pnlAnalyze, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ReadFileBytes(wireLog()).endsWith("Lend:0500\r\nA\r\n"); }, 2000));
    EXPECT_EQ(program->tableCommands().grid().cursorRow(), 1);

    sim.control("press nec 20DF10EF");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Cell(1, ColResult).empty(); }, 8000));
    EXPECT_EQ(Cell(1, ColCarry), "38.0kHz");
    // The remote sends repeat codes after its first frame: NEC-32R, the name
    // padded to ten characters.
    EXPECT_EQ(Cell(1, ColResult), "Tm:NEC-32R    d:20DF 10EF");
    EXPECT_EQ(program->learningTable().record(1).Carry, 380);
    const QImage necLabel = main.widgets().imgWave->image().copy(10, 4, 200, 14);
    EXPECT_GT(program->learningTable().record(1).DataBits, 33);
    EXPECT_TRUE(main.state().TableModified);
    EXPECT_EQ(main.statusPanelText(1), "変更");

    // The STD edition confirms each capture; the user's OK lets learning go on
    // with the next row.
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 3000));
    EXPECT_EQ(program->tableCommands().grid().cursorRow(), 2);
    sim.control("press sony12 1501");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Cell(2, ColResult).empty(); }, 8000));
    EXPECT_EQ(Cell(2, ColCarry), "40.0kHz");
    EXPECT_TRUE(Cell(2, ColResult).starts_with("Tm:SONY12")) << Cell(2, ColResult);
    EXPECT_FALSE(shown.isEmpty());

    // Both captures were drawn, each in its own lane, and listed in the grid.
    const QImage& image = main.widgets().imgWave->image();
    const QRgb green = qRgb(0, 128, 0);
    EXPECT_EQ(image.pixel(20, LaneHighY(0)), green); // NEC leader mark, 9 ms from x = 10
    EXPECT_EQ(image.pixel(15, LaneHighY(1)), green); // Sony leader mark, 2.4 ms
    tools::WaveDataModel& grid = waveData->model();
    EXPECT_EQ(grid.cell(1, 1), "   9000 ");
    EXPECT_EQ(grid.cell(2, 1), "  13500 ");
    EXPECT_EQ(grid.cell(3, 1), "   0 ");
    EXPECT_EQ(grid.cell(6, 1), "   2400 ");
    EXPECT_FALSE(grid.cell(4, 2).trimmed().isEmpty()); // the code assembly's bit values

    // One step of zoom, then the marks: the start mark inside the NEC leader
    // (ends at 13500 µs), the pointer released inside the third pulse's space
    // after two 560/1120 zero bits: 14620 - 13500 = 1120 µs.
    MainWidgets& w = main.widgets();
    QTest::mouseClick(w.btnZoomRight, Qt::LeftButton);
    ASSERT_EQ(w.imgWave->zoom(), 250);
    EXPECT_EQ(image.pixel(20, LaneHighY(0)), green); // redrawn at the new zoom
    // After a redraw each lane keeps the label of its own capture, carrier
    // included ("No.1: 38.0kHz", not the Sony's 40.0kHz).
    EXPECT_EQ(image.copy(10, 4, 200, 14), necLabel);
    QTest::mouseClick(w.imgWave, Qt::RightButton, {}, QPoint(20, 10));
    QTest::mouseClick(w.imgWave, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_TRUE(main.logText().endsWith("tw:1.120mS")) << main.logText().toStdString();
    EXPECT_EQ(waveData->sGridWave()->currentIndex().row() + 1, 3);
    // The view shows the same span, from the end of the leader.
    ASSERT_TRUE(w.imgWave->measurement().has_value());
    EXPECT_EQ(w.imgWave->measurement()->startMicros, 13500);
    EXPECT_EQ(w.imgWave->measurement()->text, "tw:1.120mS");
    // The Logic column holds the bits the lane shows: one reading for both.
    const DecodeRecord* nec = learning->decoder().record(0);
    ASSERT_NE(nec, nullptr);
    for (int pair = 0; pair < nec->Meanings.ResultPairs; ++pair) {
        const QString logic = grid.cell(4, pair + 1);
        const PulseRole role = nec->Meanings.Roles[static_cast<std::size_t>(pair)];
        EXPECT_EQ(logic, role == PulseRole::One    ? "   1"
                         : role == PulseRole::Zero ? "   0"
                                                   : "")
            << pair;
    }

    QTest::mouseClick(w.btnWaveData, Qt::LeftButton);
    EXPECT_TRUE(waveData->isVisible());
    waveData->hide();
}

// The simulated RC5 remote comes out "Unknown"; its lane's button and the
// row's pop-up menu explain it, and the Philips settings it offers are put
// in place by a click.
TEST_F(Learning, AnUnknownCaptureIsExplainedFromItsLaneAndItsRow) {
    SimProcess sim({});
    Start("TAVIRO QUVAN-ARM Tool", sim.path());
    TfrmMain& main = program->frmMain();
    MainWidgets& w = main.widgets();
    QTest::mouseClick(w.pnlAnalyze, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 2000));
    sim.control("press rc5 050C");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Cell(1, ColResult).empty(); }, 8000));
    EXPECT_TRUE(Cell(1, ColResult).starts_with("Tm:Unknown")) << Cell(1, ColResult);

    QToolButton* explain = learning->diagnosisButton(0);
    ASSERT_NE(explain, nullptr);
    ASSERT_TRUE(explain->isVisibleTo(&main));
    EXPECT_EQ(explain->text(), "診断 ?");
    EXPECT_TRUE(explain->toolTip().contains("bi-phase RC5, address 5, command 12"))
        << explain->toolTip().toStdString();
    EXPECT_GE(w.cmbTs->findText("444"), 0); // offered in the list as soon as it is known
    EXPECT_FALSE(learning->diagnosisButton(1)->isVisibleTo(&main)); // nothing in lane 1

    QTest::mouseClick(explain, Qt::LeftButton);
    DiagnosisDialog& dialog = learning->diagnosisDialog();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.lane(), 0);
    EXPECT_TRUE(dialog.text().contains("RC5, address 5 (0x05), command 12 (0x0C)"))
        << dialog.text().toStdString();
    ASSERT_TRUE(dialog.philipsButton()->isVisible());
    QTest::mouseClick(dialog.philipsButton(), Qt::LeftButton);
    EXPECT_TRUE(w.ckPhilips->isChecked());
    EXPECT_EQ(w.cmbTs->currentText(), "444");
    EXPECT_EQ(w.cmbTw->currentText(), "1778");
    EXPECT_EQ(w.cmbBt->currentText(), "16");
    EXPECT_TRUE(Cell(1, ColResult).starts_with("Tm:Unknown")); // the stored row stays
    dialog.hide();
    // Learnt with those settings, the next press is read by time sampling,
    // which the lane's button does not flag.
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 3000));
    sim.control("press rc5 050C");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Cell(2, ColResult).empty(); }, 8000));
    EXPECT_TRUE(Cell(2, ColResult).starts_with("Philips d:")) << Cell(2, ColResult);
    EXPECT_EQ(learning->diagnosisButton(1)->text(), "診断");

    // From the table: the row whose capture a lane still holds.
    table_ui::GridPopupMenu& popup = program->tableCommands().popupMenu();
    program->tableCommands().grid().setCursor(1, 1);
    emit popup.menu().aboutToShow();
    EXPECT_TRUE(popup.ppDiagnosis->isEnabled());
    popup.ppDiagnosis->trigger();
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
    program->tableCommands().grid().setCursor(5, 1);
    emit popup.menu().aboutToShow();
    EXPECT_FALSE(popup.ppDiagnosis->isEnabled());

    // A new table empties the lanes: nothing is left to explain.
    program->tableCommands().FileNew();
    EXPECT_FALSE(learning->diagnosisButton(0)->isVisibleTo(&main));
    EXPECT_FALSE(learning->diagnosisButton(1)->isVisibleTo(&main));
}

TEST_F(Learning, ACaptureWithMoreThanSixteenPatternsIsRefused) {
    SimProcess sim({});
    Start("TAVIRO QUVAN-Pro Tool", sim.path());
    learning->StartLearning();
    ASSERT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().LearningOn; }, 2000));
    // Seventeen pulses, each outside every other one's tolerance window.
    QByteArray raw = "raw";
    int count = 0;
    for (int high : {300, 600, 1200, 2400, 4800, 9600}) {
        for (int width : {12000, 24000, 48000}) {
            if (count++ < 17)
                raw += " " + QByteArray::number(high) + "/" + QByteArray::number(width);
        }
    }
    sim.control(raw);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.contains("学習出来ません。"); }, 8000));
    EXPECT_EQ(Cell(1, ColCarry), "");
    EXPECT_EQ(Cell(1, ColResult), "");
    EXPECT_EQ(program->learningTable().record(1).DataBits, 0);
    EXPECT_FALSE(program->frmMain().state().TableModified);
    // The refused capture can still be explained.
    QToolButton* explain = learning->diagnosisButton(0);
    ASSERT_NE(explain, nullptr);
    EXPECT_TRUE(explain->isVisibleTo(&program->frmMain()));
    EXPECT_TRUE(explain->toolTip().startsWith("17 pulse shapes"))
        << explain->toolTip().toStdString();
}

TEST_F(Learning, CodeCheckStaysOnAWrongCodeAndMovesOnAfterTheRightOne) {
    SimProcess sim({});
    Start("TAVIRO QUVAN-Pro Tool", sim.path());
    LearningTable& table = program->learningTable();
    table.setCell(1, ColCarry, "38.0kHz");
    table.setCell(1, ColFrames, "1");
    table.setCell(1, ColResult, "Tm:NEC-32R    d:20DF 10EF");
    MainWidgets& w = program->frmMain().widgets();
    w.ckCodeCheck->setChecked(true);
    // Without "Cursor Auto" the check starts at the cursor row rather than at
    // the first blank row below it.
    w.ckCursor->setChecked(false);
    program->tableCommands().grid().setCursor(1, 1);
    learning->StartLearning();
    ASSERT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().LearningOn; }, 2000));

    const std::string chord = program->frmMain().state().settings.Sounds.SoundChord;
    const std::string tada = program->frmMain().state().settings.Sounds.SoundTada;
    sim.control("press nec 20DF11EE"); // not the expected code
    ASSERT_TRUE(QTest::qWaitFor([&] { return !silence.played.empty(); }, 8000));
    EXPECT_EQ(silence.played.back(), chord);
    ASSERT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().LearningOn; }, 3000));
    EXPECT_EQ(program->tableCommands().grid().cursorRow(), 1); // the same row again

    silence.played.clear();
    sim.control("press nec 20DF10EF");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !silence.played.empty(); }, 8000));
    EXPECT_EQ(silence.played.back(), tada); // matched, and row 2 ends the list
    // The table holds the expected codes; nothing was written into it.
    EXPECT_EQ(Cell(1, ColResult), "Tm:NEC-32R    d:20DF 10EF");
    EXPECT_EQ(Cell(2, ColResult), "");
    EXPECT_EQ(table.record(1).DataBits, 0);
}

TEST_F(Learning, TheConfirmationCanBeSwitchedOffFromItsMessage) {
    SimProcess sim({});
    Start("TAVIRO QUVAN-ARM Tool", sim.path());
    MainWidgets& w = program->frmMain().widgets();
    ASSERT_TRUE(w.ckLearningMsg->isChecked());
    tickDoNotShowAgain = true;
    learning->StartLearning();
    ASSERT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().LearningOn; }, 2000));
    sim.control("press nec 20DF10EF");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Cell(1, ColResult).empty(); }, 8000));
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.front(), "学習完了しました。\nリモコンのボタンを離して下さい。");
    EXPECT_FALSE(w.ckLearningMsg->isChecked());
}

TEST_F(Learning, RfIdAndParameterListsFollowTheUser) {
    SimProcess sim({"--pro", "--wire-log", wireLog()});
    Start("TAVIRO QUVAN-Pro Tool", sim.path());
    MainWidgets& w = program->frmMain().widgets();
    QTest::mouseClick(w.ckRF_ID, Qt::LeftButton);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ReadFileBytes(wireLog()).endsWith("Ri:on\r\n"); }, 2000));
    QTest::mouseClick(w.ckRF_ID, Qt::LeftButton);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ReadFileBytes(wireLog()).endsWith("Ri:off\r\n"); }, 2000));

    const int items = w.cmbTs->count();
    w.cmbTs->setCurrentText("333");
    QTest::keyClick(w.cmbTs->lineEdit(), Qt::Key_Return);
    QTest::keyClick(w.cmbTs->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(w.cmbTs->count(), items + 1);
    EXPECT_EQ(w.cmbTs->itemText(items), "333");
}

TEST_F(Learning, ZoomRedrawsAndStopsAtTheEnds) {
    Start("TAVIRO QUVAN-Pro Tool", "/dev/quvan-none");
    MainWidgets& w = program->frmMain().widgets();
    learning->Zoom(+1);
    EXPECT_EQ(w.imgWave->zoom(), 250);
    EXPECT_EQ(w.pnlZoom->text(), "1/250");
    for (int i = 0; i < 30; ++i)
        learning->Zoom(+1);
    EXPECT_EQ(w.imgWave->zoom(), 3000);
    for (int i = 0; i < 30; ++i)
        learning->Zoom(-1);
    EXPECT_EQ(w.imgWave->zoom(), 25);
}

TEST_F(Learning, DecoderOptionsExcludeEachOther) {
    Start("TAVIRO QUVAN-Pro Tool", "/dev/quvan-none");
    MainWidgets& w = program->frmMain().widgets();
    QTest::mouseDClick(w.pnlCont, Qt::LeftButton, {}, QPoint(600, 50));
    EXPECT_FALSE(w.ckEiritsu->isHidden());
    w.ckPhilips->setChecked(true);
    EXPECT_FALSE(w.cmbTs->isHidden());
    EXPECT_TRUE(w.cmbSBit->isHidden());
    w.ckSerial->setChecked(true);
    EXPECT_FALSE(w.ckPhilips->isChecked());
    EXPECT_FALSE(w.cmbSBit->isHidden());
    EXPECT_EQ(w.imgWave->zoom(), 50);
    w.ckEiritsu->setChecked(true);
    EXPECT_FALSE(w.ckSerial->isChecked());
    EXPECT_TRUE(w.cmbTs->isHidden());
    // A second double click hides the boxes and unticks Serial.
    w.ckSerial->setChecked(true);
    QTest::mouseDClick(w.pnlCont, Qt::LeftButton, {}, QPoint(600, 50));
    EXPECT_TRUE(w.ckEiritsu->isHidden());
    EXPECT_FALSE(w.ckSerial->isChecked());
}

TEST_F(Learning, StdDoubleClickTogglesTheWaveDataPanel) {
    Start("TAVIRO QUVAN-ARM Tool", "/dev/quvan-none");
    MainWidgets& w = program->frmMain().widgets();
    EXPECT_TRUE(w.pnlWaveData->isHidden());
    QTest::mouseDClick(w.pnlCont, Qt::LeftButton, {}, QPoint(600, 20));
    EXPECT_FALSE(w.pnlWaveData->isHidden());
    EXPECT_EQ(w.pgBar->geometry().right() + 1, w.pnlWaveData->x() - 8);
    QTest::mouseDClick(w.pnlCont, Qt::LeftButton, {}, QPoint(600, 20));
    EXPECT_TRUE(w.pnlWaveData->isHidden());
    EXPECT_EQ(w.pgBar->geometry().right() + 1, w.btnWaveClear->x() - 8);
}

// "変更" stays while the table is unsaved, whatever the wave strip does:
// a new capture, a zoom step and Clear all clear the lanes.
TEST_F(Learning, TheChangedPanelFollowsTheTableNotTheWaveStrip) {
    Start("TAVIRO QUVAN-ARM Tool", "/dev/quvan-none");
    TfrmMain& main = program->frmMain();
    MainWidgets& w = main.widgets();
    main.SetTableModified(true);
    learning->HandleWaveLine("[000]:09000 013500");
    learning->HandleWaveLine("[001]:00560 001120");
    EXPECT_EQ(main.statusPanelText(1), "変更");
    learning->Zoom(+1);
    EXPECT_EQ(main.statusPanelText(1), "変更");
    QTest::mouseClick(w.btnWaveClear, Qt::LeftButton);
    EXPECT_EQ(main.statusPanelText(1), "変更");
    EXPECT_TRUE(main.state().TableModified);
    main.SetTableModified(false);
    learning->HandleWaveLine("[000]:09000 013500");
    EXPECT_EQ(main.statusPanelText(1), "");
}

// Right after start, before any resize by the user, the scroll bar's end
// shows the image's end at the right edge of the strip.
TEST_F(Learning, TheWaveScrollsToItsEndRightAfterStart) {
    Start("TAVIRO QUVAN-ARM Tool", "/dev/quvan-none");
    MainWidgets& w = program->frmMain().widgets();
    ASSERT_GT(w.scrBar->width(), 500);
    w.scrBar->setValue(w.scrBar->maximum());
    EXPECT_EQ(w.imgWave->x() + w.imgWave->width(), w.scrBar->width() - 19);
    w.scrBar->setValue(0);
    EXPECT_EQ(w.imgWave->x(), 1);
}

TEST_F(Learning, LearningWithoutAPortWarns) {
    Start("TAVIRO QUVAN-ARM Tool", "/dev/quvan-none");
    learning->StartLearning();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "QUVANと通信出来ません");
    EXPECT_FALSE(program->frmMain().state().LearningOn);
}

} // namespace
} // namespace quvan::app
