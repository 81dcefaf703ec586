#pragma once
// The main window's open and save dialogs (dlgOpen, dlgSave) as the table
// commands use them. The commands ask through a FileDialogHook, so tests can
// answer without a screen; the real one is a QFileDialog.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace quvan::table_ui {

// Filter positions of dlgOpen and dlgSave, counted from 1. The first five
// are the same in both dialogs.
inline constexpr int kFilterCsv = 1;
inline constexpr int kFilterTxt = 2;
inline constexpr int kFilterHex = 3;
inline constexpr int kFilterWav = 4;
inline constexpr int kFilterBmp = 5;

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QStringList filters;     // in order; position 1 is filters[0]
    int filterIndex = 1;     // preselected, from 1
    QString defaultSuffix;   // appended when the user types none
    QString initialFileName; // a path; a name with wild cards only picks the folder
};

struct FileDialogChoice {
    QString path;
    int filterIndex = 1; // the filter the user had chosen, from 1
};

// nullopt when the user cancels.
using FileDialogHook = std::function<std::optional<FileDialogChoice>(const FileDialogRequest&)>;

QStringList OpenDialogFilters(); // the seven of dlgOpen
QStringList SaveDialogFilters(); // the six of dlgSave

// Shows a QFileDialog for `request` over `parent`, titled `caption` unless
// it is empty. The save dialog asks before it overwrites a file.
std::optional<FileDialogChoice> ShowFileDialog(QWidget* parent, const FileDialogRequest& request,
                                               const QString& caption = {});

} // namespace quvan::table_ui
