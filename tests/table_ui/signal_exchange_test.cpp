// File → "Import..." and "Export..." through the real main window: where
// the signals go, what the user is told, and what the files hold.

#include "table/ui/signal_exchange_commands.h"
#include "table_ui_fixture.h"

#include <QItemSelectionModel>

namespace quvan::table_ui {
namespace {

class SignalExchange : public TableUiTest {
  protected:
    void SetUp() override {
        Start();
        main().state().StartupDone = true;
        exchange().hooks().chooseFile = [this](const FileDialogRequest& request,
                                               const QString& caption) {
            dialogRequests.push_back(request);
            captions.push_back(caption);
            return dialogAnswer;
        };
    }
    SignalExchangeCommands& exchange() { return program->signalExchange(); }
    void Answer(const std::filesystem::path& path, int filter) {
        dialogAnswer = FileDialogChoice{QString::fromStdString(path.string()), filter};
    }
    static std::string Sample(const char* name) {
        return std::string(QUVAN_TEST_DATA) + "/ir-remotes/" + name;
    }
    std::vector<QString> captions;
};

TEST_F(SignalExchange, MenuEntriesSitInTheFileMenu) {
    EXPECT_EQ(w().mmImport->text(), "インポート (&Import)...");
    EXPECT_EQ(w().mmExport->text(), "エクスポート (&Export)...");
    EXPECT_TRUE(w().mmFile->actions().contains(w().mmImport));
    EXPECT_TRUE(w().mmFile->actions().contains(w().mmExport));
}

TEST_F(SignalExchange, ImportFillsBlankRowsFromTheCursorAndReportsRefusals) {
    FillRow(4, "taken");
    grid().setCursor(3, ColCarry);
    Answer(Sample("Friedrich_4235h.ir"), kImportAnySignalFile);
    w().mmImport->trigger();

    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0], "信号のインポート");
    EXPECT_EQ(dialogRequests[0].filters, ImportDialogFilters());
    // Nine signals, one of them ("Timer") with 17 pulse shapes: eight rows
    // from row 3 on, stepping over row 4.
    EXPECT_EQ(table().cell(3, ColComments), "Power");
    EXPECT_EQ(table().cell(4, ColComments), "taken");
    EXPECT_EQ(table().cell(5, ColComments), "Mode");
    EXPECT_EQ(table().cell(11, ColComments), "Sleep");
    EXPECT_TRUE(table().isBlank(12));
    EXPECT_EQ(table().cell(3, ColCarry), "38.0kHz");
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_EQ(grid().cursorRow(), 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "インポート");
    EXPECT_EQ(shown[0].text,
              "8 件の信号を追加しました（3 ～ 11 行目）。\n"
              "1 件は取り込めませんでした（理由は受信ログにあります）。");
    EXPECT_TRUE(main().logText().contains(
        "インポート Friedrich_4235h.ir: line 54: Timer: more than 16 distinct pulse shapes"));
}

TEST_F(SignalExchange, ImportWithAChosenFormatAndUnreadableFiles) {
    const auto path = dir.path() / "codes.txt";
    WriteBytes(path, "name: POWER\n0000 006D 0000 0001 0015 0040\n");
    Answer(path, kImportPronto);
    exchange().Import();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "1 件の信号を追加しました（1 行目）。\n読込み元: codes.txt (Pronto Hex)");
    EXPECT_EQ(table().cell(1, ColComments), "POWER");

    // The same file read as Flipper: not a Flipper file, nothing added.
    main().SetTableModified(false);
    Answer(path, kImportFlipper);
    exchange().Import();
    EXPECT_EQ(shown.back().text, "追加した信号はありません。\n"
                                 "1 件は取り込めませんでした（理由は受信ログにあります）。");
    EXPECT_FALSE(main().state().TableModified);

    Answer(dir.path() / "missing.ir", kImportAnySignalFile);
    exchange().Import();
    EXPECT_TRUE(shown.back().text.startsWith("missing.ir を読めません:"));

    WriteBytes(path, "# nothing here\n");
    Answer(path, kImportAnySignalFile);
    exchange().Import();
    EXPECT_EQ(shown.back().text, "codes.txt (生タイミング) には信号がありません。");

    // Cancelled: nothing happens.
    dialogAnswer.reset();
    const std::size_t before = shown.size();
    exchange().Import();
    EXPECT_EQ(shown.size(), before);
}

TEST_F(SignalExchange, ExportSelectedRowsOrTheWholeTableInTheFilterFormat) {
    Answer(Sample("Sony_KD.ir"), kImportFlipper);
    exchange().Import();
    ASSERT_FALSE(table().isBlank(3));

    // Rows 2 and 3 selected: only they go out, as Pronto, with the suffix
    // of the format added.
    QTableView& view = grid().view();
    view.selectionModel()->select(
        QItemSelection(view.model()->index(1, ColCarry), view.model()->index(2, ColResult)),
        QItemSelectionModel::ClearAndSelect);
    const auto out = dir.path() / "two";
    Answer(out, kExportPronto);
    exchange().Export();
    EXPECT_EQ(captions.back(), "選択した 2 行のエクスポート");
    const std::string pronto = ReadBytes(dir.path() / "two.txt");
    EXPECT_EQ(pronto.rfind("# Pronto Hex learned codes", 0), 0u);
    EXPECT_NE(pronto.find("name: Vol_up\n0000 0068"), std::string::npos) << pronto;
    EXPECT_EQ(shown.back().text, "2 件の信号を two.txt に書き出しました（Pronto Hex）。");

    // One row selected: the whole table, here as LIRC.
    view.selectionModel()->clearSelection();
    grid().setCursor(1, ColCarry);
    Answer(dir.path() / "all.conf", kExportLirc);
    exchange().Export();
    EXPECT_TRUE(captions.back().startsWith("テーブルのエクスポート（"));
    EXPECT_EQ(ReadBytes(dir.path() / "all.conf").find("begin remote"), 51u);
}

TEST_F(SignalExchange, NothingToExportAndFaultyRowsAreSaid) {
    exchange().Export();
    EXPECT_TRUE(captions.empty()); // no dialog for an empty table
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "テーブルには学習した信号がありません。");

    Answer(Sample("Sony_KD.ir"), kImportFlipper);
    exchange().Import();
    table().record(2).RepeatBit = 99; // past the row's end
    Answer(dir.path() / "sony.ir", kExportFlipper);
    exchange().Export();
    EXPECT_NE(shown.back().text.indexOf("1 行は確認が必要です（受信ログを参照）。"), -1);
    EXPECT_TRUE(main().logText().contains("エクスポート: row 2: its repeat section starts at pulse 99"));
    EXPECT_EQ(ReadBytes(dir.path() / "sony.ir").find("name: Vol_up"), std::string::npos);
}

} // namespace
} // namespace quvan::table_ui
