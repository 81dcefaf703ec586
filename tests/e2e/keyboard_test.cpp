// The window from the keyboard: the title names the table file and shows
// unsaved work, the frequent actions have shortcuts that do what their
// controls do, every control of the top panel and the wave strip says what
// it does, and Tab walks the controls in the order they are laid out.

#include "../frame/qstring_printer.h"
#include "table/ui/learning_table_model.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "test_program.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using test_support::TempDir;

class Keyboard : public ::testing::Test {
  protected:
    Keyboard() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown << box.Text();
            box.CloseWithOk();
        });
        Start("TAVIRO QUVAN-ARM Tool");
    }
    void Start(const QString& title) {
        if (program)
            program->frmMain().SetTableModified(false);
        program = std::make_unique<Program>(
            test_support::TestProgramOptions(title, dir, ports, silence, std::nullopt));
        TfrmMain& window = program->frmMain();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.state().StartupDone; }, 5000));
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~Keyboard() override {
        program->frmMain().SetTableModified(false); // closes without asking
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    MainWidgets& w() { return program->frmMain().widgets(); }
    table_ui::TableCommands& commands() { return program->tableCommands(); }

    TempDir dir;
    platform::FixedPortLister ports; // no board: nothing to search
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    QStringList shown;
};

TEST_F(Keyboard, TheTitleNamesTheTableFileAndMarksUnsavedWork) {
    TfrmMain& window = program->frmMain();
    const QString tail = " — TAVIRO QUVAN-ARM Tool  [ Ver.20251223 ]";
    EXPECT_EQ(window.windowTitle(), "無題[*]" + tail);
    EXPECT_FALSE(window.isWindowModified());

    // A cell typed into is unsaved work.
    table_ui::LearningTableModel& model = commands().model();
    ASSERT_TRUE(model.setData(model.index(0, ColComments), "TV power", Qt::EditRole));
    EXPECT_TRUE(window.isWindowModified());

    // Saved under a name: the title names the file and the mark goes.
    const QString saved = QString::fromStdString((dir.path() / "living room.csv").string());
    commands().chooseFile = [&](const table_ui::FileDialogRequest&) {
        return std::optional<table_ui::FileDialogChoice>({saved, 1});
    };
    w().mmSave->trigger();
    QTest::qWait(0);
    EXPECT_EQ(window.windowTitle(), "living room.csv[*]" + tail);
    EXPECT_FALSE(window.isWindowModified());

    // New forgets the file and the title says so.
    w().mmNew->trigger();
    QTest::qWait(0);
    EXPECT_EQ(window.windowTitle(), "無題[*]" + tail);

    // Open names the file opened.
    w().mmOpen->trigger();
    QTest::qWait(0);
    EXPECT_EQ(window.windowTitle(), "living room.csv[*]" + tail);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(model.data(model.index(0, ColComments)).toString(), "TV power");
    EXPECT_TRUE(shown.isEmpty()) << shown.join("|").toStdString();
}

TEST_F(Keyboard, ShortcutsDoWhatTheirControlsDo) {
    TfrmMain& window = program->frmMain();
    table_ui::TableGrid& grid = commands().grid();
    grid.setCursor(5, ColCarry);
    QTest::keyClick(&window, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid.cursorRow(), 6);
    QTest::keyClick(&window, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(grid.cursorRow(), 4);
    grid.setCursor(1, ColCarry);
    QTest::keyClick(&window, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(grid.cursorRow(), 1); // stays on the first row

    // Zoom in and out move the zoom panel as its buttons do.
    const QString start = w().pnlZoom->text();
    QTest::keySequence(&window, w().mmZoomIn->shortcut());
    const QString zoomedIn = w().pnlZoom->text();
    EXPECT_NE(zoomedIn, start);
    QTest::keySequence(&window, w().mmZoomOut->shortcut());
    EXPECT_EQ(w().pnlZoom->text(), start);

    // Learning and the firing test without a board: each says so, once.
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(shown.size(), 2) << shown.join("|").toStdString();
    EXPECT_TRUE(shown[0].startsWith("QUVANと通信出来ません")) << shown[0].toStdString();
    EXPECT_TRUE(shown[1].startsWith("QUVANと通信出来ません")) << shown[1].toStdString();

    // The menus show the shortcuts.
    for (QAction* action : {w().mmLearning, w().mmFire, w().mmZoomIn, w().mmZoomOut,
                            w().mmNextRow, w().mmPrevRow, w().mmSave, w().mmOpen})
        EXPECT_FALSE(action->shortcut().isEmpty()) << action->objectName().toStdString();
}

// The controls a user clicks or types into, on `panel` and below it.
QList<QWidget*> Controls(QWidget* panel) {
    QList<QWidget*> controls;
    for (QWidget* child : panel->findChildren<QWidget*>()) {
        const bool input = child->focusPolicy() != Qt::NoFocus;
        const bool panelLabel = qobject_cast<QLabel*>(child) && child->objectName().startsWith("pnl");
        if ((input || panelLabel) && !child->objectName().isEmpty() &&
            child->objectName() != "qt_spinbox_lineedit")
            controls << child;
    }
    return controls;
}

TEST_F(Keyboard, EveryControlOfTheTopPanelAndTheWaveStripSaysWhatItDoes) {
    int checked = 0;
    for (QWidget* panel : {static_cast<QWidget*>(w().pnlTop), static_cast<QWidget*>(w().pnlCont)}) {
        for (QWidget* control : Controls(panel)) {
            ++checked;
            EXPECT_FALSE(control->toolTip().trimmed().isEmpty())
                << control->objectName().toStdString();
        }
    }
    EXPECT_GE(checked, 25);
    // A control with a shortcut names it in its hint.
    const QString fire = w().mmFire->shortcut().toString(QKeySequence::NativeText);
    EXPECT_TRUE(w().btnTest->toolTip().contains(fire)) << w().btnTest->toolTip().toStdString();
    const QString zoomIn = w().mmZoomIn->shortcut().toString(QKeySequence::NativeText);
    EXPECT_TRUE(w().btnZoomLeft->toolTip().contains(zoomIn));
}

// Tab walks each panel left to right, row by row, and the panels top to
// bottom, as they lie on the screen. The Pro edition, with the analysis
// settings shown, has the most controls.
TEST_F(Keyboard, TabFollowsTheLayout) {
    Start("TAVIRO QUVAN-Pro Tool");
    TfrmMain& window = program->frmMain();
    w().pnlWaveData->show();
    QList<QWidget*> order;
    QWidget* start = w().btnTest;
    QWidget* at = start;
    do {
        if (at->isVisible() && at->isEnabled() && (at->focusPolicy() & Qt::TabFocus) &&
            at->window() == &window)
            order << at;
        at = at->nextInFocusChain();
    } while (at != start && order.size() < 500);
    QStringList names;
    for (const QWidget* widget : order)
        names << widget->objectName();
    ASSERT_GE(order.size(), 25) << names.join(" ").toStdString();

    for (qsizetype i = 1; i < order.size(); ++i) {
        const QWidget* a = order[i - 1];
        const QWidget* b = order[i];
        const QRect ra(a->mapTo(&window, QPoint()), a->size());
        const QRect rb(b->mapTo(&window, QPoint()), b->size());
        // Next on the same row (the two overlap in height) lies to the
        // right; otherwise it starts below the top of the previous one.
        const bool sameRow = ra.top() < rb.bottom() && rb.top() < ra.bottom();
        const bool inOrder = sameRow ? rb.left() >= ra.left() : rb.top() > ra.top();
        EXPECT_TRUE(inOrder) << a->objectName().toStdString() << " → "
                             << b->objectName().toStdString() << " (" << ra.x() << "," << ra.y()
                             << " → " << rb.x() << "," << rb.y() << ")";
    }
}

} // namespace
} // namespace quvan::app
