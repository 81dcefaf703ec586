#include "table/ui/signal_exchange_commands.h"

#include "capture/text_number.h"
#include "platform/atomic_file.h"
#include "table/exchange/signal_export.h"
#include "table/exchange/signal_formats.h"
#include "table/exchange/signal_import.h"
#include "table/exchange/signal_learner.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace quvan::table_ui {

namespace {

using exchange::SignalFormat;

// The wait cursor while a long command runs.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::optional<SignalFormat> ImportFormatOf(int filterIndex) {
    switch (filterIndex) {
    case kImportFlipper:
        return SignalFormat::Flipper;
    case kImportPronto:
        return SignalFormat::Pronto;
    case kImportRaw:
        return SignalFormat::Raw;
    case kImportPulseSpace:
        return SignalFormat::PulseSpace;
    default:
        return std::nullopt; // the content decides
    }
}

SignalFormat ExportFormatOf(int filterIndex) {
    switch (filterIndex) {
    case kExportPronto:
        return SignalFormat::Pronto;
    case kExportRaw:
        return SignalFormat::Raw;
    case kExportLirc:
        return SignalFormat::Lirc;
    default:
        return SignalFormat::Flipper;
    }
}

QString FormatTitle(SignalFormat format) {
    switch (format) {
    case SignalFormat::Flipper:
        return QStringLiteral("Flipper IR");
    case SignalFormat::Pronto:
        return QStringLiteral("Pronto Hex");
    case SignalFormat::PulseSpace:
        return QStringLiteral("pulse/space");
    case SignalFormat::Lirc:
        return QStringLiteral("LIRC");
    case SignalFormat::Raw:
        break;
    }
    return SignalExchangeCommands::tr("生タイミング");
}

// The first line of the import summary: how many signals went into which rows.
QString AddedText(const exchange::ImportReport& report) {
    const int added = static_cast<int>(report.added.size());
    if (added == 0)
        return SignalExchangeCommands::tr("追加した信号はありません。");
    const int first = report.added.front().row;
    const int last = report.added.back().row;
    return first == last
               ? SignalExchangeCommands::tr("%n 件の信号を追加しました（%1 行目）。", "", added)
                     .arg(first)
               : SignalExchangeCommands::tr("%n 件の信号を追加しました（%1 ～ %2 行目）。", "",
                                            added)
                     .arg(first)
                     .arg(last);
}

} // namespace

QStringList ImportDialogFilters() {
    return {SignalExchangeCommands::tr("信号ファイル (*.ir *.txt *.pronto *.raw *.mode2)"),
            SignalExchangeCommands::tr("Flipper IR ファイル (*.ir)"),
            SignalExchangeCommands::tr("Pronto Hex (*.txt *.pronto)"),
            SignalExchangeCommands::tr("生タイミング (*.txt *.raw)"),
            SignalExchangeCommands::tr("pulse/space ログ (*.txt *.mode2)"),
            SignalExchangeCommands::tr("全てのファイル (*)")};
}

QStringList ExportDialogFilters() {
    return {SignalExchangeCommands::tr("Flipper IR ファイル (*.ir)"),
            SignalExchangeCommands::tr("Pronto Hex (*.txt)"),
            SignalExchangeCommands::tr("生タイミング (*.txt)"),
            SignalExchangeCommands::tr("LIRC 設定ファイル (*.conf)")};
}

SignalExchangeCommands::SignalExchangeCommands(LearningTable& table, SignalExchangeHooks hooks,
                                               QObject* parent)
    : QObject(parent), table_(table), hooks_(std::move(hooks)) {}

void SignalExchangeCommands::tell(const QString& caption, const QString& text) {
    if (hooks_.ask)
        hooks_.ask(1, caption, text);
}

void SignalExchangeCommands::log(const QString& prefix, const std::vector<std::string>& lines) {
    if (!hooks_.appendLog)
        return;
    for (const std::string& line : lines)
        hooks_.appendLog(prefix + QString::fromStdString(line));
}

QString SignalExchangeCommands::startFolder() const {
    if (!lastFolder_.isEmpty() || !hooks_.defaultFolder)
        return lastFolder_;
    return hooks_.defaultFolder();
}

void SignalExchangeCommands::Import() {
    const std::optional<FileDialogChoice> choice =
        hooks_.chooseFile({FileDialogKind::Open, ImportDialogFilters(), kImportAnySignalFile,
                           QString(), startFolder()},
                          tr("信号のインポート"));
    if (!choice)
        return;
    const QFileInfo info(choice->path);
    lastFolder_ = info.absolutePath() + '/';
    QFile source(choice->path);
    if (!source.open(QIODevice::ReadOnly)) {
        tell(tr("インポート"),
             tr("%1 を読めません:\n%2").arg(info.fileName(), source.errorString()));
        return;
    }
    const QByteArray bytes = source.readAll();
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const LearningOptions options = hooks_.learningOptions();
    const SignalFormat format =
        ImportFormatOf(choice->filterIndex).value_or(exchange::GuessFormat(text));
    exchange::ReadOptions readOptions;
    readOptions.signalGapUs = exchange::SignalGapUs(options);

    exchange::ImportReport report;
    {
        const BusyCursor busy;
        const exchange::SignalFile file = exchange::ReadSignals(format, text, readOptions);
        report = exchange::ImportSignals(table_, file, options, std::max(1, hooks_.cursorRow()));
    }
    if (!report.added.empty()) {
        hooks_.tableChanged();
        hooks_.showRow(report.added.front().row);
    }
    const QString from = info.fileName() + " (" + FormatTitle(format) + ")";
    if (report.added.empty() && report.refused.empty()) {
        tell(tr("インポート"), tr("%1 には信号がありません。").arg(from));
        return;
    }
    std::vector<std::string> refusals;
    for (const exchange::SignalRefusal& r : report.refused)
        refusals.push_back(exchange::DescribeRefusal(r));
    log(tr("インポート %1: ").arg(info.fileName()), refusals);
    // Two short lines: the message box shows no more.
    QString summary = AddedText(report) + '\n';
    summary += refusals.empty() ? tr("読込み元: %1").arg(from)
                                : tr("%n 件は取り込めませんでした（理由は受信ログにあります）。",
                                     "", static_cast<int>(refusals.size()));
    tell(tr("インポート"), summary);
}

void SignalExchangeCommands::Export() {
    std::vector<int> rows = hooks_.selectedRows();
    const bool selection = rows.size() > 1;
    if (!selection)
        rows = exchange::AllRows(table_);
    const LearningOptions options = hooks_.learningOptions();
    const exchange::ExportSelection chosen = exchange::CollectRows(
        table_, rows, DecimalOr(options.HrangeText, 10), DecimalOr(options.WrangeText, 10));
    log(tr("エクスポート: "), chosen.skipped);
    if (chosen.exported.empty()) {
        tell(tr("エクスポート"), selection ? tr("選択した行には学習した信号がありません。")
                                           : tr("テーブルには学習した信号がありません。"));
        return;
    }
    const int count = static_cast<int>(chosen.exported.size());
    const QString caption = selection ? tr("選択した %n 行のエクスポート", "", count)
                                      : tr("テーブルのエクスポート（%n 件の信号）", "", count);
    const std::optional<FileDialogChoice> choice =
        hooks_.chooseFile({FileDialogKind::Save, ExportDialogFilters(), kExportFlipper,
                           QStringLiteral("ir"), startFolder()},
                          caption);
    if (!choice)
        return;
    const SignalFormat format = ExportFormatOf(choice->filterIndex);
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QString::fromStdString(std::string(exchange::FormatSuffix(format)));
    const QFileInfo info(path);
    lastFolder_ = info.absolutePath() + '/';
    const std::string error =
        WriteFileAtomically(path.toStdString(), exchange::WriteSignals(format, chosen.exported));
    if (!error.empty()) {
        tell(tr("エクスポート"),
             tr("%1 に書き込めません:\n%2").arg(info.fileName(), QString::fromStdString(error)));
        return;
    }
    log(tr("エクスポート %1: ").arg(info.fileName()), chosen.warnings);
    QString text = tr("%n 件の信号を %1 に書き出しました（%2）。", "", count)
                       .arg(info.fileName(), FormatTitle(format));
    const int notes = static_cast<int>(chosen.skipped.size() + chosen.warnings.size());
    if (notes > 0)
        text += '\n' + tr("%n 行は確認が必要です（受信ログを参照）。", "", notes);
    tell(tr("エクスポート"), text);
}

} // namespace quvan::table_ui
