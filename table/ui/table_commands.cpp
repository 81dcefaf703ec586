#include "table/ui/table_commands.h"

#include "app/main_window.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/learning_table_model.h"
#include "table/ui/table_grid.h"

#include <QStyle>

namespace quvan::table_ui {

TableCommands::TableCommands(app::TfrmMain& main, LearningTable& table, std::string executableDir)
    : QObject(nullptr), main_(main), table_(table), executableDir_(std::move(executableDir)),
      model_(new LearningTableModel(table, this)),
      grid_(new TableGrid(*main.widgets().sGrid, *model_, this)),
      popup_(new GridPopupMenu(
          main, table, *grid_,
          [this](int kind, const QString& caption, const QString& text) {
              return ask(kind, caption, text);
          },
          this)) {
    chooseFile = [this](const FileDialogRequest& request) {
        return ShowFileDialog(&main_, request);
    };
    wire();
}

TableCommands::~TableCommands() {
    main_.loadTableAtStart = nullptr;
}

void TableCommands::wire() {
    app::MainWidgets& w = main_.widgets();
    connect(w.mmNew, &QAction::triggered, this, &TableCommands::FileNew);
    connect(w.mmOpen, &QAction::triggered, this, &TableCommands::FileOpen);
    connect(w.mmSave, &QAction::triggered, this, &TableCommands::FileSave);
    connect(w.mmOptionCsv, &QAction::triggered, this, &TableCommands::ChooseCsvFilePath);
    connect(w.mmOptionHex, &QAction::triggered, this, &TableCommands::ChooseHexFilePath);
    connect(w.mmOptionSnd, &QAction::triggered, this, &TableCommands::ChooseSoundFolder);

    w.sGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w.sGrid, &QWidget::customContextMenuRequested, this, [this, &w](const QPoint& pos) {
        popup_->popup(w.sGrid->viewport()->mapToGlobal(pos));
    });
    connect(grid_, &TableGrid::popupRequested, popup_, &GridPopupMenu::popup);

    // Every change the user makes by hand counts as unsaved work, so closing,
    // New and Open ask before it is thrown away.
    connect(model_, &LearningTableModel::cellEdited, this,
            [this] { main_.SetTableModified(true); });
    connect(popup_, &GridPopupMenu::rowsChanged, this, [this] { main_.SetTableModified(true); });

    connect(w.ckCodeCheck, &QCheckBox::toggled, this, &TableCommands::codeCheckToggled);
    connect(w.sBar, &app::ClickStatusBar::doubleClicked, this,
            [this] { setMonitorMode(!monitorMode()); });

    main_.loadTableAtStart = [this](const std::string& path) { return LoadAtStart(path); };
}

int TableCommands::ask(int kind, const QString& caption, const QString& text) {
    return main_.messages().show(kind, caption, text);
}

bool TableCommands::monitorMode() const {
    return main_.widgets().sBar->property("monitor").toBool();
}

void TableCommands::setMonitorMode(bool on) {
    app::ClickStatusBar* bar = main_.widgets().sBar;
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

void TableCommands::codeCheckToggled(bool on) {
    if (!on)
        return;
    main_.widgets().ckLearningMsg->setChecked(false);
    // Code checking starts from the top of a table that has nothing here.
    const int row = grid_->cursorRow();
    if (table_.validRow(row) && table_.cell(row, ColCarry).empty())
        grid_->setCursor(1, ColCarry);
}

} // namespace quvan::table_ui
