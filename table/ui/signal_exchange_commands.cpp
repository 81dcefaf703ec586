#include "table/ui/signal_exchange_commands.h"

#include "capture/text_number.h"
#include "platform/atomic_file.h"
#include "table/exchange/signal_export.h"
#include "table/exchange/signal_formats.h"
#include "table/exchange/signal_import.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace quvan::table_ui {

namespace {

using exchange::SignalFormat;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    return QStringLiteral("raw timings");
}

} // namespace

QStringList ImportDialogFilters() {
    return {QStringLiteral("Signal files (*.ir *.txt *.pronto *.raw *.mode2)"),
            QStringLiteral("Flipper IR files (*.ir)"),
            QStringLiteral("Pronto Hex (*.txt *.pronto)"),
            QStringLiteral("Raw timings (*.txt *.raw)"),
            QStringLiteral("pulse/space logs (*.txt *.mode2)"),
            QStringLiteral("All files (*)")};
}

QStringList ExportDialogFilters() {
    return {QStringLiteral("Flipper IR file (*.ir)"), QStringLiteral("Pronto Hex (*.txt)"),
            QStringLiteral("Raw timings (*.txt)"), QStringLiteral("LIRC configuration (*.conf)")};
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
        hooks_.appendLog(prefix + FromUtf8(line));
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
                          QStringLiteral("Import signals"));
    if (!choice)
        return;
    const QFileInfo info(choice->path);
    lastFolder_ = info.absolutePath() + '/';
    QFile source(choice->path);
    if (!source.open(QIODevice::ReadOnly)) {
        tell(QStringLiteral("Import"),
             QStringLiteral("Cannot read %1:\n%2").arg(info.fileName(), source.errorString()));
        return;
    }
    const QByteArray bytes = source.readAll();
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const LearningOptions options = hooks_.learningOptions();
    const SignalFormat format =
        ImportFormatOf(choice->filterIndex).value_or(exchange::GuessFormat(text));
    exchange::ReadOptions readOptions;
    readOptions.signalGapUs = 1000 * std::max(1, DecimalOr(options.LtimeText, 500));

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
        tell(QStringLiteral("Import"), QStringLiteral("%1 holds no signals.").arg(from));
        return;
    }
    std::vector<std::string> refusals;
    for (const exchange::SignalRefusal& r : report.refused)
        refusals.push_back(exchange::DescribeRefusal(r));
    log(QStringLiteral("Import %1: ").arg(info.fileName()), refusals);
    // Two short lines: the message box shows no more.
    exchange::ImportReport added = report;
    added.refused.clear();
    QString summary = FromUtf8(exchange::ImportSummary(added, 0)) + '\n';
    summary += refusals.empty()
                   ? QStringLiteral("From %1.").arg(from)
                   : QStringLiteral("%1 refused: the receive log says why.").arg(refusals.size());
    tell(QStringLiteral("Import"), summary);
}

void SignalExchangeCommands::Export() {
    std::vector<int> rows = hooks_.selectedRows();
    const bool selection = rows.size() > 1;
    if (!selection)
        rows = exchange::AllRows(table_);
    const LearningOptions options = hooks_.learningOptions();
    const exchange::ExportSelection chosen = exchange::CollectRows(
        table_, rows, DecimalOr(options.HrangeText, 10), DecimalOr(options.WrangeText, 10));
    log(QStringLiteral("Export: "), chosen.skipped);
    if (chosen.exported.empty()) {
        tell(QStringLiteral("Export"),
             selection ? QStringLiteral("None of the selected rows holds a learned signal.")
                       : QStringLiteral("No row of the table holds a learned signal."));
        return;
    }
    const QString caption =
        selection ? QStringLiteral("Export the %1 selected rows").arg(chosen.exported.size())
                  : QStringLiteral("Export the table (%1 signals)").arg(chosen.exported.size());
    const std::optional<FileDialogChoice> choice =
        hooks_.chooseFile({FileDialogKind::Save, ExportDialogFilters(), kExportFlipper,
                           QStringLiteral("ir"), startFolder()},
                          caption);
    if (!choice)
        return;
    const SignalFormat format = ExportFormatOf(choice->filterIndex);
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += FromUtf8(std::string(exchange::FormatSuffix(format)));
    const QFileInfo info(path);
    lastFolder_ = info.absolutePath() + '/';
    const std::string error =
        WriteFileAtomically(path.toStdString(), exchange::WriteSignals(format, chosen.exported));
    if (!error.empty()) {
        tell(QStringLiteral("Export"),
             QStringLiteral("Cannot write %1:\n%2").arg(info.fileName(), FromUtf8(error)));
        return;
    }
    log(QStringLiteral("Export %1: ").arg(info.fileName()), chosen.warnings);
    const std::size_t n = chosen.exported.size();
    QString text = QStringLiteral("%1 %2 written to %3 (%4).")
                       .arg(n)
                       .arg(n == 1 ? QStringLiteral("signal") : QStringLiteral("signals"))
                       .arg(info.fileName(), FormatTitle(format));
    const std::size_t notes = chosen.skipped.size() + chosen.warnings.size();
    if (notes > 0)
        text += QStringLiteral("\n%1 %2: see the receive log.")
                    .arg(notes)
                    .arg(notes == 1 ? QStringLiteral("row needs a look")
                                    : QStringLiteral("rows need a look"));
    tell(QStringLiteral("Export"), text);
}

} // namespace quvan::table_ui
