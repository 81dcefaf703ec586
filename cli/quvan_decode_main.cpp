// quvan-decode: runs the board's learning output through the tool's
// analysis, for scripting and tests. See usage() for the command line.

#include "cli/decode_pipeline.h"
#include "cli/decode_signal_files.h"
#include "decode/entry_decoder.h"
#include "table/table_file.h"
#include "tools/core/wave_text.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: quvan-decode [--pro] [--hrange N] [--wrange N] [--ltime MS] [--pcode]\n"
    "                    [--fullcode] [--multiheader] [--eiritsu | --philips | --serial]\n"
    "                    [--ts N] [--tw N] [--bits N] [--sbit N] [--records FILE]\n"
    "                    [--wave-text FILE] [--explain] [FILE ...]\n"
    "       quvan-decode [--pro] [--pcode] --entries TABLE\n"
    "       quvan-decode [options] --from raw|pronto|flipper|pulse-space [--carrier HZ] FILE ...\n";

int UsageError(const std::string& message) {
    std::cerr << "quvan-decode: " << message << "\n" << kUsage;
    return 2;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream data;
    data << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return data.str();
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

    std::string out;
    if (!fromFormat.empty() || !carrierText.empty()) {
        if (fromFormat.empty() || !entriesPath.empty() || !recordsPath.empty() ||
            !waveTextPath.empty() || explain)
            return UsageError("--carrier needs --from, which takes no --entries, --records, "
                              "--wave-text or --explain");
        std::vector<std::string> errors;
        const int status =
            quvan::cli::DecodeSignalFiles(options, fromFormat, carrierText, files, out, errors);
        std::fwrite(out.data(), 1, out.size(), stdout);
        for (const std::string& e : errors)
            std::cerr << "quvan-decode: " << e << "\n";
        return status;
    }
    if (!entriesPath.empty()) {
        if (!files.empty())
            return UsageError("--entries takes no other input files");
        const auto data = ReadFile(entriesPath);
        if (!data) {
            std::cerr << "quvan-decode: cannot read " << entriesPath << "\n";
            return 2;
        }
        quvan::LearningTable table(options.ProEdition ? quvan::kProTableRows
                                                      : quvan::kStdTableRows);
        quvan::TableLoadOptions load;
        load.confirmNotTableFile = [&] {
            std::cerr << "quvan-decode: " << entriesPath << " is not marked as a table file\n";
            return true; // read it anyway, as the window does after a Yes
        };
        const quvan::TableLoadResult loaded = quvan::ParseTableFile(*data, table, load);
        if (loaded.conversionError)
            std::cerr << "quvan-decode: " << loaded.conversionError->message << "\n";
        for (const std::string& w : loaded.warnings)
            std::cerr << "quvan-decode: " << w << "\n";
        for (int row = 1; row <= table.rowCount(); ++row) {
            const quvan::LearnedSignal& rec = table.record(row);
            if (rec.Carry == 0)
                continue;
            const quvan::EntryDecoding d =
                quvan::DecodeLoadedEntry(rec, options.PCode, options.ProEdition);
            out += std::to_string(row) + "\t" +
                   d.Comments.value_or(table.cell(row, quvan::ColComments)) + "\t" + d.Result +
                   "\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
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
    if (files.empty())
        files.push_back("-");
    for (const std::string& path : files) {
        std::optional<std::string> data;
        if (path == "-") {
            data = std::string(std::istreambuf_iterator<char>(std::cin), {});
        } else {
            data = ReadFile(path);
        }
        if (!data) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::cerr << "quvan-decode: cannot read " << path << "\n";
            return 2;
        }
        std::vector<std::string> errors;
        quvan::DecodeLog(pipeline, *data, out, errors);
        for (const std::string& e : errors)
            std::cerr << "quvan-decode: " << e << "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (!waveTextPath.empty()) {
        const std::string failure = quvan::tools::SaveWaveText(waveTextPath, waveText);
        if (!failure.empty()) {
            std::cerr << "quvan-decode: " << failure << "\n";
            return 2;
        }
    }
    if (!recordsPath.empty()) {
        std::ofstream rec(recordsPath, std::ios::binary | std::ios::trunc);
        for (int row : pipeline.storedRows())
            rec << pipeline.recordLine(row) << "\n";
        rec.close();
        if (!rec) {
            std::cerr << "quvan-decode: cannot write " << recordsPath << "\n";
            return 2;
        }
    }
    return 0;
}
