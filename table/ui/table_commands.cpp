#include "table/ui/table_commands.h"

#include "table/ui/grid_popup_menu.h"
#include "table/ui/learning_table_model.h"
#include "table/ui/table_grid.h"
#include "table/ui/table_host.h"

#include <QAction>
#include <QCheckBox>
#include <QTableView>

namespace quvan::table_ui {

TableCommands::TableCommands(LearningTable& table, link::BoardLink& link, TableHost& host,
                             TableControls controls, QWidget& window, std::string executableDir)
    : QObject(nullptr), table_(table), link_(link), host_(host), c_(controls), window_(window),
      executableDir_(std::move(executableDir)), model_(new LearningTableModel(table, this)),
      grid_(new TableGrid(*c_.sGrid, *model_, this)),
      popup_(new GridPopupMenu(
          window, table, *grid_,
          [this](int kind, const QString& caption, const QString& text) {
              return ask(kind, caption, text);
          },
          this)) {
    chooseFile = [this](const FileDialogRequest& request) {
        return ShowFileDialog(&window_, request);
    };
    wire();
}

TableCommands::~TableCommands() = default;

void TableCommands::wire() {
    connect(c_.mmNew, &QAction::triggered, this, &TableCommands::FileNew);
    connect(c_.mmOpen, &QAction::triggered, this, &TableCommands::FileOpen);
    connect(c_.mmSave, &QAction::triggered, this, &TableCommands::FileSave);
    connect(c_.mmOptionCsv, &QAction::triggered, this, &TableCommands::ChooseCsvFilePath);
    connect(c_.mmOptionHex, &QAction::triggered, this, &TableCommands::ChooseHexFilePath);
    connect(c_.mmOptionSnd, &QAction::triggered, this, &TableCommands::ChooseSoundFolder);

    QTableView* view = c_.sGrid;
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { popup_->popup(view->viewport()->mapToGlobal(pos)); });
    connect(grid_, &TableGrid::popupRequested, popup_, &GridPopupMenu::popup);

    // Every change the user makes by hand counts as unsaved work, so closing,
    // New and Open ask before it is thrown away.
    connect(model_, &LearningTableModel::cellEdited, this,
            [this] { host_.setTableModified(true); });
    connect(popup_, &GridPopupMenu::rowsChanged, this, [this] { host_.setTableModified(true); });

    connect(c_.ckCodeCheck, &QCheckBox::toggled, this, &TableCommands::codeCheckToggled);
}

int TableCommands::ask(int kind, const QString& caption, const QString& text) {
    return host_.showMessage(kind, caption, text);
}

bool TableCommands::monitorMode() const {
    return host_.monitorMode();
}

void TableCommands::setMonitorMode(bool on) {
    host_.setMonitorMode(on);
}

void TableCommands::codeCheckToggled(bool on) {
    if (!on)
        return;
    c_.ckLearningMsg->setChecked(false);
    // Code checking starts from the top of a table that has nothing here.
    const int row = grid_->cursorRow();
    if (table_.validRow(row) && table_.cell(row, ColCarry).empty())
        grid_->setCursor(1, ColCarry);
}

} // namespace quvan::table_ui
