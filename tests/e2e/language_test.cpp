// The window in each language: English from the catalogue with no Japanese
// left anywhere the user reads, the Japanese default with the texts of the
// original tool, the toolkit's own buttons in the window's language, and the
// choice kept for the next start.

#include "../frame/qstring_printer.h"
#include "app/diagnosis_dialog.h"
#include "app/display_language.h"
#include "link/port_advice.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/read_back_progress.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "test_program.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quvan::app {
namespace {

using test_support::TempDir;

// Kana, kanji, the CJK punctuation and the full- and half-width forms.
bool IsJapanese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

bool HasJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), IsJapanese);
}

// Every text a user reads on `widget` and below it: captions, titles,
// tooltips, list items, fixed grid cells, column heads and menu entries,
// each named by where it was found.
class TextWalk {
  public:
    void Widget(QWidget* widget) {
        Add(widget, "title", widget->windowTitle());
        Add(widget, "tooltip", widget->toolTip());
        Add(widget, "status tip", widget->statusTip());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            Add(widget, "text", button->text());
        if (auto* label = qobject_cast<QLabel*>(widget))
            Add(widget, "text", label->text());
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            Add(widget, "title", box->title());
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            Add(widget, "placeholder", edit->placeholderText());
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                Add(widget, "item", combo->itemText(i));
        }
        if (auto* table = qobject_cast<QTableWidget*>(widget)) {
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (const QTableWidgetItem* item = table->item(r, c))
                        Add(widget, "cell", item->text());
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
            for (int c = 0; c < view->model()->columnCount(); ++c)
                Add(widget, "column", view->model()->headerData(c, Qt::Horizontal).toString());
        }
        if (auto* menu = qobject_cast<QMenu*>(widget))
            Add(widget, "menu", menu->title());
        for (QAction* action : widget->actions())
            Action(action);
        for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            Widget(child);
    }

    void Action(QAction* action) {
        if (action->objectName() == "mmLanguageJa")
            return; // each language is offered under its own name
        Add(action, "action", action->text());
        Add(action, "action tooltip", action->toolTip());
        if (QMenu* menu = action->menu()) {
            Add(menu, "menu", menu->title());
            for (QAction* inner : menu->actions())
                Action(inner);
        }
    }

    // Adds a text that is not on a widget (a message box's text, say).
    void Add(const QObject* where, const char* what, const QString& text) {
        if (text.isEmpty())
            return;
        ++count_;
        if (HasJapanese(text))
            japanese_ << QStringLiteral("%1 (%2): %3").arg(where->objectName(), what, text);
    }

    const QStringList& japanese() const { return japanese_; }
    int count() const { return count_; }

  private:
    QStringList japanese_;
    int count_ = 0;
};

class Language : public ::testing::Test {
  protected:
    Language() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back({box.windowTitle(), box.Text()});
            box.CloseWithOk();
        });
    }
    ~Language() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
        InstallUiLanguage(*QCoreApplication::instance(), UiLanguage::Japanese);
    }

    Program& Start(UiLanguage language, const QString& title = "TAVIRO QUVAN-ARM Tool") {
        program.reset();
        InstallUiLanguage(*QCoreApplication::instance(), language);
        program = std::make_unique<Program>(
            test_support::TestProgramOptions(title, dir, ports, silence, std::nullopt));
        program->frmMain().show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().StartupDone; }, 5000));
        return *program;
    }

    // Shows each of the program's windows in turn and walks its texts.
    void WalkEveryWindow(Program& p, TextWalk& walk) {
        walk.Widget(&p.frmMain());
        for (QAction* action : p.frmMain().menuBar()->actions())
            walk.Action(action);
        const std::vector<QWidget*> dialogs = {&p.frmCom(),
                                               &p.frmTws(),
                                               &p.frmWave(),
                                               &p.frmWaveEdit(),
                                               &p.frmDsw(),
                                               &p.frmDownload(),
                                               &p.learning().diagnosisDialog()};
        for (QWidget* dialog : dialogs) {
            dialog->show();
            QTest::qWait(20);
            walk.Widget(dialog);
            dialog->hide();
        }
        table_ui::ReadBackProgress progress(nullptr);
        progress.begin(250);
        progress.showEntry(3, 250);
        walk.Widget(&progress);
        progress.showStopping();
        walk.Widget(&progress);
        walk.Widget(&p.tableCommands().popupMenu().menu());
        for (int kind = 0; kind <= 3; ++kind) {
            p.frmMsgBox().Prepare(kind, QStringLiteral("x"), QStringLiteral("y"));
            walk.Widget(&p.frmMsgBox());
        }
    }

    struct Shown {
        QString caption;
        QString text;
    };

    TempDir dir;
    platform::FixedPortLister ports; // no port to search
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    std::vector<Shown> shown;
};

TEST_F(Language, TheEnglishWindowHasNoJapaneseLeft) {
    for (const QString title : {"TAVIRO QUVAN-ARM Tool", "TAVIRO QUVAN-Pro Tool"}) {
        Program& p = Start(UiLanguage::English, title);
        // Show the options that start hidden, as a double click on the strip does.
        p.learning().ShowDiagnosis(0);
        QTest::mouseDClick(p.frmMain().widgets().pnlCont, Qt::LeftButton);
        TextWalk walk;
        WalkEveryWindow(p, walk);
        EXPECT_GT(walk.count(), 300);
        EXPECT_TRUE(walk.japanese().isEmpty()) << walk.japanese().join('\n').toStdString();
    }
}

TEST_F(Language, MessagesOfTheWindowAndOfThePlainLibrariesAreEnglish) {
    Program& p = Start(UiLanguage::English);
    MainWidgets& w = p.frmMain().widgets();
    // Without a board: the learning logic (plain C++) and the test firing
    // (the window) say so.
    w.mmLearning->trigger();
    w.mmFire->trigger();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Warning");
    EXPECT_EQ(shown[0].text, "Cannot communicate with QUVAN");
    EXPECT_EQ(shown[1].text, "Cannot communicate with QUVAN.");

    // An import: the summary reads as the English tool always wrote it,
    // numbers and plural included.
    p.signalExchange().hooks().chooseFile = [](const table_ui::FileDialogRequest&, const QString&) {
        return std::optional<table_ui::FileDialogChoice>(
            {QStringLiteral(QUVAN_TEST_DATA "/ir-remotes/Friedrich_4235h.ir"), 1});
    };
    p.tableCommands().grid().setCursor(3, ColCarry);
    w.mmImport->trigger();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].caption, "Import");
    EXPECT_EQ(shown[2].text,
              "8 signals added (rows 3 to 10).\n1 refused: the receive log says why.");
    EXPECT_TRUE(p.frmMain().logText().contains(
        "Import Friedrich_4235h.ir: line 54: Timer: more than 16 distinct pulse shapes"));

    // Closing with the table unsaved.
    p.frmMain().close();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[3].text, "The learning table has not been saved.\nDiscard it and quit?");
    EXPECT_EQ(p.frmMain().windowTitle(), "Untitled[*] — TAVIRO QUVAN-ARM Tool  [ Ver.20251223 ]");
}

// What the port search and the warnings say of a port that cannot be had.
TEST_F(Language, PortRefusalsReadInEnglish) {
    Start(UiLanguage::English);
    platform::OpenError refused;
    refused.kind = platform::OpenFailure::PermissionDenied;
    refused.path = "/dev/ttyUSB0";
    refused.deviceGroup = "dialout";
    EXPECT_EQ(link::RefusedPortLabel("ttyUSB0", refused), "ttyUSB0 (no permission)");
    EXPECT_EQ(link::OpenFailureAdvice(refused),
              "You have no permission to open /dev/ttyUSB0.\n"
              "This user is not in the dialout group. Add it with the following command,\n"
              "then log out and log in again:\n"
              "    sudo adduser $USER dialout");
    refused.kind = platform::OpenFailure::InUse;
    EXPECT_EQ(link::RefusedPortLabel("ttyS0", refused), "ttyS0 (in use)");
}

TEST_F(Language, TheJapaneseWindowKeepsTheOriginalTexts) {
    Program& p = Start(UiLanguage::Japanese);
    MainWidgets& w = p.frmMain().widgets();
    EXPECT_EQ(w.mmFile->title(), "ファイル(&F)");
    EXPECT_EQ(w.mmOption->title(), "オプション(&O)");
    EXPECT_EQ(w.mmFirmware->text(), "&Firmware Update (ファームウェアの更新)");
    EXPECT_EQ(w.btnTest->text(), "発射テスト");
    EXPECT_EQ(w.ckCursor->text(), "Cursor Auto");
    EXPECT_EQ(w.btnTableWrite->text(), "QUVANに登録");
    EXPECT_EQ(w.btnTableLoad->text(), "QUVAN読込み");
    EXPECT_EQ(w.btnTablePrint->text(), "Table 印刷");
    EXPECT_EQ(w.ckLearningMsg->text(), "学習確認");
    EXPECT_EQ(w.btnZoomLeft->text(), "＜");
    EXPECT_EQ(p.frmMain().learningCaption(), "学習 Off");
    EXPECT_EQ(w.btnSend->text(), "QUVANに送信");
    EXPECT_EQ(p.frmCom().windowTitle(), "ComPort Setting");
    EXPECT_EQ(p.frmCom().btnEsc->text(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(p.frmCom().cmbSendHead->itemText(0), "無し");
    EXPECT_EQ(p.frmTws().windowTitle(), "QUVAN Learning Table Write");
    EXPECT_EQ(p.frmTws().rbWriteAll->text(), "全ての行を登録");
    EXPECT_EQ(p.frmDsw().cmbInputSel->itemText(1), "バイナリ入力");
    EXPECT_EQ(p.tableCommands().popupMenu().ppCopy->text(), "コピー\u3000(&Copy)");
    w.mmLearning->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Warning");
    EXPECT_EQ(shown[0].text, "QUVANと通信出来ません");
    // The walk that finds no Japanese in the English window finds it here.
    TextWalk walk;
    WalkEveryWindow(p, walk);
    EXPECT_GT(walk.japanese().size(), 100);

    // The toolkit's own buttons follow the window (Debian's qtbase_ja.qm).
    const QString qtJapanese = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm";
    if (!QFile::exists(qtJapanese))
        GTEST_SKIP() << qtJapanese.toStdString() << " is not installed (qt6-translations-l10n)";
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "キャンセル");
    InstallUiLanguage(*QCoreApplication::instance(), UiLanguage::English);
    QDialogButtonBox english(QDialogButtonBox::Cancel);
    EXPECT_EQ(english.button(QDialogButtonBox::Cancel)->text(), "Cancel");
}

TEST_F(Language, TheChoiceUnderTheOptionMenuIsKeptForTheNextStart) {
    Program& p = Start(UiLanguage::Japanese);
    MainWidgets& w = p.frmMain().widgets();
    EXPECT_TRUE(w.mmLanguageJa->isChecked());
    w.mmLanguageJa->trigger(); // already the language: nothing to say
    EXPECT_TRUE(shown.empty());
    w.mmLanguageEn->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "表示言語の変更は、次回の起動から有効になります。");
    EXPECT_EQ(w.btnTest->text(), "発射テスト"); // this run stays as it started
    p.frmMain().close();

    std::ifstream in(dir.path() / "quvan-tool.ini");
    std::stringstream ini;
    ini << in.rdbuf();
    EXPECT_NE(ini.str().find("[LANGUAGE]\nLanguage=en\n"), std::string::npos) << ini.str();
    Program& next = Start(UiLanguage::English);
    EXPECT_TRUE(next.frmMain().widgets().mmLanguageEn->isChecked());
    EXPECT_FALSE(next.frmMain().widgets().mmLanguageJa->isChecked());
}

TEST(LanguageOption, OnlyJapaneseAndEnglishAreTaken) {
    EXPECT_EQ(ParseUiLanguage("en"), UiLanguage::English);
    EXPECT_EQ(ParseUiLanguage(" JA "), UiLanguage::Japanese);
    EXPECT_FALSE(ParseUiLanguage("fr"));
    EXPECT_FALSE(ParseUiLanguage(""));

    // The program itself refuses an unknown language before it opens a window.
    QProcess tool;
    tool.start(QUVAN_TOOL_PATH, {"--lang", "fr"});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_TRUE(tool.readAllStandardError().contains("--lang takes ja or en"));
}

} // namespace
} // namespace quvan::app
