// quvan-decode: runs the board's learning output through the tool's
// analysis, for scripting and tests. See usage() for the command line.

#include "cli/cli_io.h"
#include "cli/decode_pipeline.h"
#include "cli/decode_signal_files.h"
#include "decode/entry_decoder.h"
#include "platform/atomic_file.h"
#include "table/table_file.h"
#include "tools/core/wave_text.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: quvan-decode [--pro] [--hrange N] [--wrange N] [--ltime MS] [--pcode]\n"
    "                    [--fullcode] [--multiheader] [--eiritsu | --philips | --serial]\n"
    "                    [--ts N] [--tw N] [--bits N] [--sbit N] [--records FILE]\n"
    "                    [--wave-text FILE] [--explain] [FILE ...]\n"
    "       quvan-decode [--pro] [--pcode] --entries TABLE\n"
    "       quvan-decode [options] --from raw|pronto|flipper|pulse-space [--carrier HZ] FILE ...\n"
    "exit status: 0 done; 1 the table file could not be read to its end;\n"
    "             2 bad usage, an input that cannot be read, an output that cannot be written\n";

// Exit statuses.
constexpr int kDone = 0;
constexpr int kInputIncomplete = 1;
constexpr int kFailed = 2;

// Logs are read in pieces of this size; memory does not grow with the log.
constexpr std::size_t kPieceSize = 256 * 1024;

// Messages carry bytes from the inputs (file names, log text): never raw.
void Say(const std::string& message) {
    std::cerr << "quvan-decode: " << quvan::cli::Printable(message) << "\n";
}

int UsageError(const std::string& message) {
    Say(message);
    std::cerr << kUsage;
    return kFailed;
}

int OutputFailed(const quvan::cli::CheckedOutput& output) {
    Say("cannot write standard output: " + output.error());
    return kFailed;
}

// The rows of a table file decoded as a read-back does.
int DecodeEntries(const std::string& path, const quvan::LearningOptions& options,
                  quvan::cli::CheckedOutput& output) {
    quvan::LearningTable table(options.ProEdition ? quvan::kProTableRows : quvan::kStdTableRows);
    quvan::TableLoadOptions load;
    load.confirmNotTableFile = [&] {
        Say(path + " is not marked as a table file");
        return true; // read it anyway, as the window does after a Yes
    };
    const quvan::TableLoadResult loaded = quvan::LoadTable(path, table, load);
    if (loaded.status == quvan::TableLoadStatus::CannotOpen) {
        Say("cannot read " + loaded.error);
        return kFailed;
    }
    for (const std::string& w : loaded.warnings)
        Say(w);
    if (loaded.conversionError)
        Say(loaded.conversionError->message);
    if (loaded.stop)
        Say(loaded.stop->message);
    std::string out;
    for (int row = 1; row <= table.rowCount(); ++row) {
        const quvan::LearnedSignal& rec = table.record(row);
        if (rec.Carry == 0)
            continue;
        const quvan::EntryDecoding d =
            quvan::DecodeLoadedEntry(rec, options.PCode, options.ProEdition);
        out += std::to_string(row) + "\t" +
               d.Comments.value_or(table.cell(row, quvan::ColComments)) + "\t" + d.Result + "\n";
    }
    if (!output.write(out) || !output.finish())
        return OutputFailed(output);
    return loaded.partial() ? kInputIncomplete : kDone;
}

} // namespace

int main(int argc, char** argv) {
    quvan::LearningOptions options;
    std::vector<std::string> files;
    std::string recordsPath;
    std::string entriesPath;
    std::string waveTextPath;
    std::string fromFormat; // signal files instead of board logs
    std::string carrierText;
    int timeSampling = 0;
    bool explain = false;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        bool ok = true;
        if (a == "--pro") {
            options.ProEdition = true;
            options.WaveLanes = 4;
        } else if (a == "--pcode") {
            options.PCode = true;
        } else if (a == "--explain") {
            explain = true;
        } else if (a == "--fullcode") {
            options.FullCode = true;
        } else if (a == "--multiheader") {
            options.MultiHeader = true;
        } else if (a == "--eiritsu") {
            options.Eiritsu = true;
            ++timeSampling;
        } else if (a == "--philips") {
            options.Philips = true;
            ++timeSampling;
        } else if (a == "--serial") {
            options.Serial = true;
            ++timeSampling;
        } else if (a == "--hrange") {
            ok = value(options.HrangeText);
        } else if (a == "--wrange") {
            ok = value(options.WrangeText);
        } else if (a == "--ltime") {
            ok = value(options.LtimeText);
        } else if (a == "--ts") {
            ok = value(options.TsText);
        } else if (a == "--tw") {
            ok = value(options.TwText);
        } else if (a == "--bits") {
            ok = value(options.BtText);
        } else if (a == "--sbit") {
            ok = value(options.SBitText);
        } else if (a == "--records") {
            ok = value(recordsPath);
        } else if (a == "--wave-text") {
            ok = value(waveTextPath);
        } else if (a == "--entries") {
            ok = value(entriesPath);
        } else if (a == "--from") {
            ok = value(fromFormat);
        } else if (a == "--carrier") {
            ok = value(carrierText);
        } else if (a == "-" || !a.starts_with("-")) {
            files.push_back(a);
        } else {
            return UsageError("unknown option " + a);
        }
        if (!ok)
            return UsageError(a + " needs a value");
    }
    if (timeSampling > 1)
        return UsageError("--eiritsu, --philips and --serial exclude each other");
    // The window unticks MultiHeader when a time-sampling option is ticked.
    if (timeSampling > 0)
        options.MultiHeader = false;

    quvan::cli::CheckedOutput output(stdout);
    if (!fromFormat.empty() || !carrierText.empty()) {
        if (fromFormat.empty() || !entriesPath.empty() || !recordsPath.empty() ||
            !waveTextPath.empty() || explain)
            return UsageError("--carrier needs --from, which takes no --entries, --records, "
                              "--wave-text or --explain");
        std::string out;
        std::vector<std::string> errors;
        const int status =
            quvan::cli::DecodeSignalFiles(options, fromFormat, carrierText, files, out, errors);
        for (const std::string& e : errors)
            Say(e);
        if (!output.write(out) || !output.finish())
            return OutputFailed(output);
        return status;
    }
    if (!entriesPath.empty()) {
        if (!files.empty())
            return UsageError("--entries takes no other input files");
        return DecodeEntries(entriesPath, options, output);
    }

    quvan::DecodePipeline pipeline(options);
    // The wave text export of each capture, with the cells of its row.
    std::string waveText;
    if (!waveTextPath.empty()) {
        pipeline.onCapture = [&](int row, const quvan::WaveLane& lane) {
            const quvan::LearningTable& table = pipeline.table();
            quvan::tools::WaveTextBlock block;
            if (table.validRow(row)) {
                block.carry = table.cell(row, quvan::ColCarry);
                block.comments = table.cell(row, quvan::ColComments);
            }
            block.lane = &lane;
            waveText += quvan::tools::WaveTextBlockBytes(block);
        };
    }
    pipeline.setExplain(explain);
    quvan::LogStreamDecoder decoder(pipeline);
    if (files.empty())
        files.push_back("-");
    std::string out;
    std::vector<std::string> errors;
    // Each piece's results go out at once, so memory stays that of a piece.
    auto passOn = [&] {
        output.write(out);
        out.clear();
        for (const std::string& e : errors)
            Say(e);
        errors.clear();
        return !output.failed();
    };
    for (const std::string& path : files) {
        const std::string error =
            quvan::cli::ReadInPieces(path, kPieceSize, [&](std::string_view piece) {
                decoder.feed(piece, out, errors);
                return passOn();
            });
        decoder.finish(out, errors);
        passOn();
        if (output.failed())
            return OutputFailed(output);
        if (!error.empty()) {
            output.finish();
            Say(error);
            return kFailed;
        }
    }
    if (!output.finish())
        return OutputFailed(output);
    if (!waveTextPath.empty()) {
        const std::string failure = quvan::tools::SaveWaveText(waveTextPath, waveText);
        if (!failure.empty()) {
            Say(failure);
            return kFailed;
        }
    }
    if (!recordsPath.empty()) {
        std::string records;
        for (int row : pipeline.storedRows())
            records += pipeline.recordLine(row) + "\n";
        // The old file stays whole unless the new one is complete.
        const std::string error = quvan::WriteFileAtomically(recordsPath, records);
        if (!error.empty()) {
            Say("cannot write the records: " + error);
            return kFailed;
        }
    }
    return kDone;
}
