#include "cli/table/table_tool.h"

#include "cli/cli_io.h"
#include "platform/atomic_file.h"
#include "table/exchange/signal_export.h"
#include "table/exchange/signal_formats.h"
#include "table/exchange/signal_import.h"
#include "table/exchange/signal_learner.h"
#include "table/learning_table.h"
#include "table/table_file.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

namespace quvan::cli {

const char* const kTableToolUsage =
    "usage: quvan-table [--pro] import TABLE FILE... [--from raw|pronto|flipper|pulse-space]\n"
    "                   [--carrier HZ] [--row N]\n"
    "       quvan-table [--pro] export TABLE OUT --to raw|pronto|flipper|lirc [--rows A-B]\n"
    "       quvan-table [--pro] list TABLE\n";

namespace {

using exchange::SignalFormat;

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    bool pro = false;
    std::optional<std::string> from, to, carrier, row, rows;
};

std::optional<int> PositiveNumber(const std::string& text) {
    const std::optional<std::int64_t> n = exchange::WholeNumber(text);
    if (!n || *n < 1 || *n > 1000000)
        return std::nullopt;
    return static_cast<int>(*n);
}

// A table file and what its header said, loaded as the window loads it.
struct LoadedTable {
    std::unique_ptr<LearningTable> table;
    TableHeaderOptions header;
};

TableHeaderOptions HeaderOf(const TableHeaderFound& found) {
    TableHeaderOptions h;
    h.eiritsu = found.eiritsu;
    h.serial = found.serial;
    h.philips = found.philips;
    h.ts = found.ts.value_or("");
    h.tw = found.tw.value_or("");
    h.bits = found.bits.value_or("");
    return h;
}

// A file saved by the Pro edition has 500 row lines; it is read as a Pro
// table whatever --pro says, so that saving it back loses no row.
std::optional<LoadedTable> LoadTableFile(const std::string& path, bool pro, bool mayBeNew,
                                         std::ostream& err) {
    LoadedTable loaded;
    std::error_code ec;
    if (mayBeNew && !std::filesystem::exists(path, ec)) {
        loaded.table = std::make_unique<LearningTable>(pro ? kProTableRows : kStdTableRows);
        return loaded;
    }
    const std::optional<std::string> bytes = ReadWhole(path);
    if (!bytes) {
        err << "quvan-table: cannot read " << path << "\n";
        return std::nullopt;
    }
    auto table = std::make_unique<LearningTable>(kProTableRows);
    TableLoadResult result = ParseTableFile(*bytes, *table);
    if (result.status == TableLoadStatus::Declined) {
        err << "quvan-table: " << path << " is not a QUVAN table file\n";
        return std::nullopt;
    }
    if (result.conversionError) {
        err << "quvan-table: " << path << ": " << result.conversionError->message << "\n";
        return std::nullopt;
    }
    if (!pro && result.rowsRead <= kStdTableRows) {
        table = std::make_unique<LearningTable>(kStdTableRows);
        result = ParseTableFile(*bytes, *table);
    }
    if (result.stop) {
        // The rows after the stop were never read: saving the table back
        // would drop them.
        err << "quvan-table: " << path << ": " << result.stop->message << "\n";
        return std::nullopt;
    }
    for (const std::string& w : result.warnings)
        err << "quvan-table: " << path << ": " << w << "\n";
    loaded.table = std::move(table);
    loaded.header = HeaderOf(result.header);
    return loaded;
}

LearningOptions OptionsFor(const LoadedTable& t) {
    LearningOptions o;
    o.ProEdition = t.table->rowCount() == kProTableRows;
    o.WaveLanes = o.ProEdition ? 4 : 2;
    // The decoders the table's header names, as the window ticks them on opening it.
    o.Eiritsu = t.header.eiritsu;
    o.Serial = t.header.serial;
    o.Philips = t.header.philips;
    if (!t.header.ts.empty())
        o.TsText = t.header.ts;
    if (!t.header.tw.empty())
        o.TwText = t.header.tw;
    if (!t.header.bits.empty())
        o.BtText = t.header.bits;
    return o;
}

std::string RowLine(const LearningTable& table, int row) {
    return std::to_string(row) + "\t" + table.cell(row, ColCarry) + "\t" +
           table.cell(row, ColFrames) + "\t" + table.cell(row, ColComments) + "\t" +
           table.cell(row, ColResult);
}

int Usage(std::ostream& err, const std::string& message) {
    err << "quvan-table: " << message << "\n" << kTableToolUsage;
    return kToolFailed;
}

int Import(const Arguments& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() < 2)
        return Usage(err, "import needs a table and at least one signal file");
    if (a.to || a.rows)
        return Usage(err, "--to and --rows belong to export");
    std::optional<SignalFormat> format;
    if (a.from) {
        format = exchange::ParseFormatName(*a.from);
        if (!format || !exchange::CanRead(*format))
            return Usage(err, "--from takes raw, pronto, flipper or pulse-space");
    }
    exchange::ReadOptions read;
    if (a.carrier) {
        const std::optional<std::int32_t> hz = exchange::ParseCarrierHz(*a.carrier);
        if (!hz || exchange::CarrierFault(*hz))
            return Usage(err, "--carrier takes a frequency from 10000 to 99900 Hz");
        read.carrierHz = *hz;
    }
    int startRow = 1;
    if (a.row) {
        const std::optional<int> n = PositiveNumber(*a.row);
        if (!n)
            return Usage(err, "--row takes a row number");
        startRow = *n;
    }
    const std::string& tablePath = a.positional[0];
    std::optional<LoadedTable> loaded = LoadTableFile(tablePath, a.pro, true, err);
    if (!loaded)
        return kToolFailed;
    LearningTable& table = *loaded->table;
    if (!table.validRow(startRow))
        return Usage(err, "--row " + std::to_string(startRow) +
                              " is not a row of the table (1 to " +
                              std::to_string(table.rowCount()) + ")");
    const LearningOptions options = OptionsFor(*loaded);
    read.signalGapUs = exchange::SignalGapUs(options);

    std::size_t added = 0;
    std::size_t refused = 0;
    for (std::size_t i = 1; i < a.positional.size(); ++i) {
        const std::string& path = a.positional[i];
        const std::optional<std::string> text = ReadWhole(path);
        if (!text) {
            err << "quvan-table: cannot read " << path << "\n";
            return kToolFailed;
        }
        const SignalFormat f = format.value_or(exchange::GuessFormat(*text));
        const exchange::SignalFile file = exchange::ReadSignals(f, *text, read);
        const exchange::ImportReport report =
            exchange::ImportSignals(table, file, options, startRow);
        for (const exchange::ImportedRow& r : report.added)
            out << RowLine(table, r.row) << "\n";
        for (const exchange::SignalRefusal& r : report.refused)
            err << "quvan-table: " << path << ": " << exchange::DescribeRefusal(r) << "\n";
        added += report.added.size();
        refused += report.refused.size();
    }
    if (added > 0) {
        const TableSaveResult saved = SaveTable(tablePath, table, loaded->header);
        if (!saved.ok) {
            err << "quvan-table: cannot write " << tablePath << ": " << saved.error << "\n";
            return kToolFailed;
        }
        for (const std::string& w : saved.warnings)
            err << "quvan-table: " << tablePath << ": " << w << "\n";
    }
    err << "quvan-table: " << added << (added == 1 ? " signal" : " signals") << " added to "
        << tablePath;
    if (refused > 0)
        err << ", " << refused << " refused";
    err << "\n";
    return added == 0 || refused > 0 ? kToolPartly : kToolDone;
}

std::optional<std::pair<int, int>> RowRange(const std::string& text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) {
        const std::optional<int> n = PositiveNumber(text);
        if (!n)
            return std::nullopt;
        return std::pair{*n, *n};
    }
    const std::optional<int> first = PositiveNumber(text.substr(0, dash));
    const std::optional<int> last = PositiveNumber(text.substr(dash + 1));
    if (!first || !last || *last < *first)
        return std::nullopt;
    return std::pair{*first, *last};
}

int Export(const Arguments& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 2)
        return Usage(err, "export needs a table and one output file");
    if (a.from || a.carrier || a.row)
        return Usage(err, "--from, --carrier and --row belong to import");
    if (!a.to)
        return Usage(err, "export needs --to raw|pronto|flipper|lirc");
    const std::optional<SignalFormat> format = exchange::ParseFormatName(*a.to);
    if (!format || !exchange::CanWrite(*format))
        return Usage(err, "--to takes raw, pronto, flipper or lirc");
    std::optional<LoadedTable> loaded = LoadTableFile(a.positional[0], a.pro, false, err);
    if (!loaded)
        return kToolFailed;
    const LearningTable& table = *loaded->table;
    std::vector<int> rows;
    if (a.rows) {
        const auto range = RowRange(*a.rows);
        if (!range || !table.validRow(range->first))
            return Usage(err, "--rows takes A-B within 1 to " + std::to_string(table.rowCount()));
        for (int r = range->first; r <= range->second && table.validRow(r); ++r)
            rows.push_back(r);
    } else {
        rows = exchange::AllRows(table);
    }
    const exchange::ExportSelection selection = exchange::CollectRows(table, rows);
    for (const std::string& s : selection.skipped)
        err << "quvan-table: " << s << "\n";
    if (selection.exported.empty()) {
        err << "quvan-table: no row to export holds a learned signal\n";
        return kToolPartly;
    }
    const std::string text = exchange::WriteSignals(*format, selection.exported);
    const std::string& outPath = a.positional[1];
    if (outPath == "-") {
        out << text;
    } else if (const std::string error = WriteFileAtomically(outPath, text); !error.empty()) {
        err << "quvan-table: cannot write " << outPath << ": " << error << "\n";
        return kToolFailed;
    }
    err << "quvan-table: " << selection.exported.size()
        << (selection.exported.size() == 1 ? " signal" : " signals") << " written as "
        << exchange::FormatName(*format) << "\n";
    return selection.skipped.empty() ? kToolDone : kToolPartly;
}

int List(const Arguments& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1)
        return Usage(err, "list needs one table");
    if (a.from || a.to || a.carrier || a.row || a.rows)
        return Usage(err, "list takes no options but --pro");
    std::optional<LoadedTable> loaded = LoadTableFile(a.positional[0], a.pro, false, err);
    if (!loaded)
        return kToolFailed;
    const LearningTable& table = *loaded->table;
    for (int row = 1; row <= table.rowCount(); ++row) {
        if (!table.isBlank(row))
            out << RowLine(table, row) << "\n";
    }
    return kToolDone;
}

} // namespace

int RunTableTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = nullptr;
        if (arg == "--pro") {
            a.pro = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out << kTableToolUsage;
            return kToolDone;
        }
        if (arg == "--from")
            target = &a.from;
        else if (arg == "--to")
            target = &a.to;
        else if (arg == "--carrier")
            target = &a.carrier;
        else if (arg == "--row")
            target = &a.row;
        else if (arg == "--rows")
            target = &a.rows;
        if (target != nullptr) {
            if (i + 1 >= args.size())
                return Usage(err, arg + " needs a value");
            *target = args[++i];
        } else if (arg.size() > 1 && arg.front() == '-') {
            return Usage(err, "unknown option " + arg);
        } else if (a.command.empty()) {
            a.command = arg;
        } else {
            a.positional.push_back(arg);
        }
    }
    if (a.command == "import")
        return Import(a, out, err);
    if (a.command == "export")
        return Export(a, out, err);
    if (a.command == "list")
        return List(a, out, err);
    return Usage(err, a.command.empty() ? "no command given" : "unknown command " + a.command);
}

} // namespace quvan::cli
