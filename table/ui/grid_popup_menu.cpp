#include "table/ui/grid_popup_menu.h"

#include "table/learning_table.h"
#include "table/ui/table_grid.h"

#include <QMenu>

namespace quvan::table_ui {

GridPopupMenu::GridPopupMenu(QWidget& menuOwner, LearningTable& table, TableGrid& grid, AskFn ask,
                             QObject* parent)
    : QObject(parent), table_(table), grid_(grid), ask_(std::move(ask)),
      ppMenu_(new QMenu(&menuOwner)) {
    ppMenu_->setObjectName("ppMenu");
    auto add = [this](const char* name, const QString& caption, void (GridPopupMenu::*slot)()) {
        QAction* action = ppMenu_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (slot != nullptr)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };
    ppCopy = add("ppCopy", tr(kCopyDesignCaption), &GridPopupMenu::Copy);
    ppCopy->setProperty("tag", 0);
    ppPaste = add("ppPaste", tr("貼付け (&Paste)"), &GridPopupMenu::Paste);
    ppDelete = add("ppDelete", tr("削除 (&Delete)"), &GridPopupMenu::Delete);
    ppInsert = add("ppInsert", tr("挿入 (&Insert)"), &GridPopupMenu::Insert);
    ppMenu_->addSeparator();
    ppWaveEdit = add("ppWaveEdit", tr("波形情報"), nullptr);
    connect(ppWaveEdit, &QAction::triggered, this, [this] {
        if (openWaveEditor)
            openWaveEditor();
    });
    ppDiagnosis = add("ppDiagnosis", tr("診断"), nullptr);
    connect(ppDiagnosis, &QAction::triggered, this, [this] {
        if (openDiagnosis)
            openDiagnosis(grid_.cursorRow());
    });
    connect(ppMenu_, &QMenu::aboutToShow, this, &GridPopupMenu::aboutToShow);
}

int GridPopupMenu::copyMark() const {
    return ppCopy->property("tag").toInt();
}

void GridPopupMenu::resetCopyMark() {
    ppCopy->setProperty("tag", 0);
    ppCopy->setText(tr(kCopyCaption));
    emit copyMarkChanged(0);
}

void GridPopupMenu::popup(QPoint globalPos) {
    ppMenu_->popup(globalPos);
}

void GridPopupMenu::aboutToShow() {
    ppDiagnosis->setEnabled(hasDiagnosis && hasDiagnosis(grid_.cursorRow()));
    // With a row marked the menu is left as the last copy set it.
    if (copyMark() == 0) {
        ppPaste->setEnabled(false);
        ppWaveEdit->setVisible(true);
    }
}

void GridPopupMenu::Copy() {
    const int row = grid_.cursorRow();
    if (!table_.validRow(row))
        return;
    ppCopy->setProperty("tag", row);
    ppPaste->setEnabled(true);
    emit copyMarkChanged(row);
}

void GridPopupMenu::Paste() {
    const int mark = copyMark();
    const int row = grid_.cursorRow();
    if (mark == 0 || mark == row || !table_.validRow(row))
        return;
    table_.copyRow(mark, row);
    emit rowsChanged();
}

void GridPopupMenu::Delete() {
    const int row = grid_.cursorRow();
    if (!table_.validRow(row))
        return;
    if (ask_(2, tr("削除確認"), tr("現在の行を削除して前詰めにします。\nよろしいですか？")) != 1)
        return;
    table_.shiftUp(row);
    emit rowsChanged();
}

void GridPopupMenu::Insert() {
    const int row = grid_.cursorRow();
    if (!table_.validRow(row))
        return;
    table_.shiftDown(row);
    emit rowsChanged();
}

} // namespace quvan::table_ui
