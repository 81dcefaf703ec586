#pragma once
// The grid's pop-up menu: copy (mark the cursor row), paste (copy the marked
// row onto the cursor row), delete and insert rows, and the wave information
// editor. The mark is a row number, kept in ppCopy's "tag" property; a paste
// copies whatever that row holds when it is pasted.

#include <QObject>
#include <QPoint>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace quvan {
class LearningTable;
}

namespace quvan::table_ui {

class TableGrid;

// The caption after a paste, and the one the menu starts with (with an
// ideographic space); both are translated in the menu's context.
inline constexpr char kCopyCaption[] =
    QT_TRANSLATE_NOOP("quvan::table_ui::GridPopupMenu", "コピー (&Copy)");
inline constexpr char kCopyDesignCaption[] =
    QT_TRANSLATE_NOOP("quvan::table_ui::GridPopupMenu", "コピー\u3000(&Copy)");

class GridPopupMenu final : public QObject {
    Q_OBJECT
  public:
    // ask: the program's message box (kind, caption, text) → 1 for Yes.
    using AskFn = std::function<int(int kind, const QString& caption, const QString& text)>;

    // The menu itself is a child of `menuOwner` (for its look and placement).
    GridPopupMenu(QWidget& menuOwner, LearningTable& table, TableGrid& grid, AskFn ask,
                  QObject* parent = nullptr);

    QMenu& menu() { return *ppMenu_; }
    QAction* ppCopy = nullptr;
    QAction* ppPaste = nullptr;
    QAction* ppDelete = nullptr;
    QAction* ppInsert = nullptr;
    QAction* ppWaveEdit = nullptr;
    QAction* ppDiagnosis = nullptr;

    int copyMark() const;
    // Forgets the mark and gives ppCopy its run-time caption (New, Open, start-up).
    void resetCopyMark();

    void popup(QPoint globalPos);

    void Copy();
    void Paste();
    void Delete();
    void Insert();

    // Opens the wave information editor; does nothing until it exists.
    std::function<void()> openWaveEditor;
    // Explains the capture of the cursor row ("診断"); hasDiagnosis tells
    // whether a lane still holds it, which enables the entry.
    std::function<void(int row)> openDiagnosis;
    std::function<bool(int row)> hasDiagnosis;

  signals:
    // Paste, delete or insert changed rows of the table.
    void rowsChanged();
    // The copy mark now names `row` (0: none), so the window can show which
    // row a paste will copy.
    void copyMarkChanged(int row);

  private:
    void aboutToShow();

    LearningTable& table_;
    TableGrid& grid_;
    AskFn ask_;
    QMenu* ppMenu_;
};

} // namespace quvan::table_ui
