// The wave tools in the real tool against the simulated board: the editor
// opened from the grid's pop-up menu on a learned row fires its signal and
// stores it; the Pro edition's Save and Print buttons write the export and
// the prints.

#include "../frame/qstring_printer.h"
#include "app/learning_window.h"
#include "sim_process.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "test_program.h"
#include "tools/wave_edit_dialog.h"
#include "tools/wave_output_commands.h"

#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::ReadFileBytes;
using test_support::SimProcess;
using test_support::TempDir;

QString PdfText(const QString& pdf) {
    std::string out;
    FILE* pipe = ::popen(("pdftotext -layout '" + pdf.toStdString() + "' -").c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;)
        out.append(buf.data(), n);
    ::pclose(pipe);
    return QString::fromStdString(out);
}

class WaveTools : public ::testing::Test {
  protected:
    WaveTools() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            box.CloseWithOk();
        });
    }
    ~WaveTools() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    void StartAndLearn(SimProcess& sim) {
        program = std::make_unique<Program>(test_support::TestProgramOptions(
            "TAVIRO QUVAN-Pro Tool", dir, ports, silence, sim.path()));
        TfrmMain& main = program->frmMain();
        main.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 5000));
        QTest::mouseClick(main.widgets().pnlAnalyze, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 2000));
        sim.control("press nec 20DF10EF");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !program->learningTable().cell(1, ColResult).empty(); }, 8000));
        QTest::mouseClick(main.widgets().pnlAnalyze, Qt::LeftButton); // learning off
        ASSERT_TRUE(QTest::qWaitFor([&] { return !main.state().LearningOn; }, 2000));
        // The board has answered "T" with "Trans Mode" (the reply flag the
        // command cleared is set again): a late "Analyze Mode" for the next
        // row, which would light the indicator again, can no longer come.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return program->boardLink().ResponseFlag() && !main.learningIndicatorLit(); },
            3000));
    }

    QString path(const char* name) const {
        return QString::fromStdString((dir.path() / name).string());
    }

    TempDir dir;
    platform::FixedPortLister ports;
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    QStringList shown;
};

TEST_F(WaveTools, TheEditorFiresALearnedRowAndStoresItIntoTheNextBlankRow) {
    SimProcess sim({"--pro", "--wire-log", path("wire.log"), "--fire-log", path("fire.log")});
    ASSERT_NO_FATAL_FAILURE(StartAndLearn(sim));
    TfrmMain& main = program->frmMain();
    LearningTable& table = program->learningTable();
    table_ui::TableCommands& commands = program->tableCommands();
    main.SetTableModified(false);

    commands.grid().setCursor(1, ColCarry);
    commands.popupMenu().ppWaveEdit->trigger();
    tools::TfrmWaveEdit& editor = program->frmWaveEdit();
    ASSERT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.edtCarry->text(), "380");
    EXPECT_EQ(editor.edtByteCode->text(), "20DF 10EF");
    const QString pcode = editor.edtPcode->text();
    EXPECT_EQ(pcode.size(), table.record(1).DataBits);

    main.widgets().ckTp[2]->setChecked(false);
    main.widgets().ckTp[3]->setChecked(false);
    editor.btnIrOut->click();
    const QString wire = path("wire.log");
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadFileBytes(wire).endsWith("Tf:3\r\n"); }, 3000));
    const QByteArray sent = ReadFileBytes(wire);
    EXPECT_TRUE(sent.contains("Tp:1100\r\nTwf:000\r\nTwc:380\r\nTwb:"));
    EXPECT_TRUE(sent.contains("Twp:0:09000,013500\r\n"));
    EXPECT_TRUE(sent.contains("\r\nTwd:" + pcode.toLatin1() + "\r\nTf:3\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ReadFileBytes(path("fire.log")).isEmpty(); }, 3000));
    EXPECT_TRUE(ReadFileBytes(path("fire.log")).contains("outputs=1100 frames=3 carry=380"));
    EXPECT_TRUE(main.logText().contains("Tp:1100\nTwf:000"));
    EXPECT_FALSE(main.learningIndicatorLit());

    // OK: row 1 is learned, row 2 is the first blank row below it.
    editor.edtCarry->setText("400");
    editor.btnOk->click();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(commands.grid().cursorRow(), 2);
    EXPECT_EQ(table.cell(2, ColCarry), "40.0kHz");
    EXPECT_EQ(table.cell(2, ColResult), table.cell(1, ColResult));
    EXPECT_EQ(PatternCodeText(table.record(2)), PatternCodeText(table.record(1)));
    EXPECT_EQ(main.statusPanelText(1), "変更");
    EXPECT_TRUE(main.state().TableModified);
}

TEST_F(WaveTools, SaveAndPrintButtonsWriteTheExportAndThePrints) {
    SimProcess sim({"--pro"});
    ASSERT_NO_FATAL_FAILURE(StartAndLearn(sim));
    TfrmMain& main = program->frmMain();
    program->learningTable().setCell(1, ColComments, "Living room TV");
    program->tableCommands().grid().setCursor(1, ColCarry);

    const QString exportPath = path("waves.Txt");
    std::vector<table_ui::FileDialogRequest> asked;
    program->tableCommands().chooseFile = [&](const table_ui::FileDialogRequest& request) {
        asked.push_back(request);
        return std::optional<table_ui::FileDialogChoice>({exportPath, request.filterIndex});
    };
    main.widgets().btnWaveSave->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, table_ui::FileDialogKind::Save);
    EXPECT_EQ(asked[0].filterIndex, table_ui::kFilterTxt);
    EXPECT_EQ(asked[0].defaultSuffix, "Txt");
    const QByteArray text = ReadFileBytes(exportPath);
    EXPECT_TRUE(text.startsWith("38.0kHz,Living room TV,\r\n[No.],   [H],   [L],   [W] (uS)\r\n"
                                "[000],  9000,  4500, 13500\r\n"))
        << text.left(120).toStdString();
    EXPECT_EQ(text.count("[No.]"), 4); // one block per lane of the Pro edition

    QString printed;
    program->waveOutputs().runPrint = [&](const platform::PrintRequest& request) {
        printed = path("print.pdf");
        return platform::PrintToPdf(printed, request);
    };
    main.widgets().btnWavePrint->click();
    EXPECT_TRUE(PdfText(printed).contains("No.1:Living room TV Tm:NEC-32R"));
    main.widgets().btnTablePrint->click();
    const QString table = PdfText(printed);
    EXPECT_TRUE(table.contains("[0001]:")) << table.toStdString();
    EXPECT_TRUE(table.contains("Living room TV"));
    EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
}

} // namespace
} // namespace quvan::app
