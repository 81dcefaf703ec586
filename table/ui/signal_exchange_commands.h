#pragma once
// File → "Import..." and "Export...": signals of other infrared tools' files
// learned into the table, and table rows written out in their formats. The
// commands know the window only through SignalExchangeHooks.

#include "capture/learning_context.h"
#include "table/learning_table.h"
#include "table/ui/file_dialogs.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace quvan::table_ui {

struct SignalExchangeHooks {
    // The analysis options as the window shows them now.
    std::function<LearningOptions()> learningOptions;
    std::function<int()> cursorRow;
    // Rows selected in the grid, in order.
    std::function<std::vector<int>()> selectedRows;
    std::function<void(int row)> showRow;
    // Marks the table as changed (TableModified).
    std::function<void()> tableChanged;
    // The program's message box (two lines of text); returns 1 for OK/Yes.
    std::function<int(int kind, const QString& caption, const QString& text)> ask;
    // A line in the receive log: the refusals and notes behind a summary.
    std::function<void(const QString& line)> appendLog;
    // Where the file dialogs start before a file was chosen (ends with '/').
    std::function<QString()> defaultFolder;
    // Asks for a file; the dialog is titled with the caption.
    std::function<std::optional<FileDialogChoice>(const FileDialogRequest&, const QString& caption)>
        chooseFile;
};

// Filter positions of the import dialog (from 1); the first and the last
// let the file's content decide its format.
inline constexpr int kImportAnySignalFile = 1;
inline constexpr int kImportFlipper = 2;
inline constexpr int kImportPronto = 3;
inline constexpr int kImportRaw = 4;
inline constexpr int kImportPulseSpace = 5;
inline constexpr int kImportAllFiles = 6;

// Filter positions of the export dialog: the filter chooses the format.
inline constexpr int kExportFlipper = 1;
inline constexpr int kExportPronto = 2;
inline constexpr int kExportRaw = 3;
inline constexpr int kExportLirc = 4;

QStringList ImportDialogFilters();
QStringList ExportDialogFilters();

class SignalExchangeCommands final : public QObject {
    Q_OBJECT
  public:
    SignalExchangeCommands(LearningTable& table, SignalExchangeHooks hooks,
                           QObject* parent = nullptr);

    SignalExchangeHooks& hooks() { return hooks_; }

    // Asks for a file and adds its signals into the blank rows from the
    // cursor row on, then says what was added and what was refused.
    void Import();
    // Asks for a file name and format and writes the selected rows (when
    // more than one is selected) or every row with a signal.
    void Export();

  private:
    void tell(const QString& caption, const QString& text);
    void log(const QString& prefix, const std::vector<std::string>& lines);
    QString startFolder() const;

    LearningTable& table_;
    SignalExchangeHooks hooks_;
    QString lastFolder_;
};

} // namespace quvan::table_ui
