#include "table/ui/file_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace quvan::table_ui {

namespace {

QString Filter(const char* text) {
    return QCoreApplication::translate("FileDialogs", text);
}

} // namespace

QStringList OpenDialogFilters() {
    return {Filter(QT_TRANSLATE_NOOP("FileDialogs", "ｶﾝﾏ形式ﾃﾞｰﾀﾌｧｲﾙ (*.Csv)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "ﾃｷｽﾄﾌｧｲﾙ (*.Txt)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "Firmware File (*.Hex)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "Sound File (*.Wav)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "ﾘﾓｺﾝ波形ｲﾒｰｼﾞﾌｧｲﾙ (*.Bmp)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "USB Driver File (*.Exe)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "全てのﾌｧｲﾙ (*.*)"))};
}

QStringList SaveDialogFilters() {
    return {Filter(QT_TRANSLATE_NOOP("FileDialogs", "ｶﾝﾏ形式ﾃﾞｰﾀﾌｧｲﾙ (*.Csv)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "ﾃｷｽﾄﾌｧｲﾙ (*.Txt)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "Firmware File (*.Hex)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "Sound File (*.Wav)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "ﾘﾓｺﾝ波形ｲﾒｰｼﾞﾌｧｲﾙ (*.Bmp)")),
            Filter(QT_TRANSLATE_NOOP("FileDialogs", "全てのﾌｧｲﾙ (*.*)"))};
}

std::optional<FileDialogChoice> ShowFileDialog(QWidget* parent, const FileDialogRequest& request,
                                               const QString& caption) {
    QFileDialog dialog(parent);
    const bool saving = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size())
        dialog.selectNameFilter(request.filters[request.filterIndex - 1]);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!caption.isEmpty())
        dialog.setWindowTitle(caption);

    // "Dat/*.Csv" names a folder and a pattern, not a file to preselect.
    const QFileInfo initial(request.initialFileName);
    if (!request.initialFileName.isEmpty()) {
        if (QFileInfo(initial.absolutePath()).isDir())
            dialog.setDirectory(initial.absolutePath());
        if (!initial.fileName().contains('*') && !initial.fileName().contains('?'))
            dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int chosen = request.filters.indexOf(dialog.selectedNameFilter());
    return FileDialogChoice{dialog.selectedFiles().constFirst(), chosen < 0 ? 1 : chosen + 1};
}

} // namespace quvan::table_ui
