#include "decode/format_search.h"

#include "decode/format_names.h"

#include <array>

namespace quvan {

FormatSearch SearchFormat(const WaveLane& lane, std::int32_t dataBits, bool proEdition,
                          bool trace) {
    FormatSearch found;
    for (int set = 0; set < kTimingSetCount; ++set) {
        SetTrial trial;
        trial.Set = set;
        trial.Fit = CheckTimingSet(set, MakeTimingWindows(set), lane.CenterHigh.data(),
                                   lane.CenterWidth.data(), proEdition);
        Recognition rec;
        if (trial.Fit.Fits) {
            trial.FrameRuleTried = true;
            rec = RecognisePatterns(set, lane, dataBits, trace ? &trial.FrameChecks : nullptr);
            trial.FormatIndex = rec.FormatIndex;
        }
        if (trace)
            found.Trials.push_back(std::move(trial));
        if (rec.FormatIndex != kUnknownFormat) {
            found.Set = set;
            found.Rec = rec;
            return found;
        }
    }
    found.Rec = RecognisePatterns(kUnknownSet, lane, dataBits);
    return found;
}

std::string PatternResultText(int set, const Recognition& rec, const AssembledCode& code,
                              bool proEdition) {
    int format = rec.FormatIndex;
    if (set == 3) {
        // Too short or not hexadecimal: no maker to look up, the NEC name stays.
        if (const auto custom = CustomCodeOf(code.Code))
            format = CustomCodeMap(*custom, format, proEdition);
    }
    return ResultText(format, code.Code);
}

std::string SetFormats(int set) {
    // The names the frame rules of each set give (set 3 stands for the whole
    // NEC family with its makers).
    static const std::array<const char*, kTimingSetCount> kNames{"SONY",
                                                                 "KASEIKYO",
                                                                 "MATU22/MATU24",
                                                                 "NEC",
                                                                 "zem-ID/MITANI-ID",
                                                                 "JVC-H16",
                                                                 "MITU16",
                                                                 "JVC-M16",
                                                                 "SHARP",
                                                                 "TSB12",
                                                                 "",
                                                                 "TSB32",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "DAIKIN",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "",
                                                                 "ROBO-K1",
                                                                 "SAMSUNG-D",
                                                                 "SHARP12",
                                                                 "DAEWOO16",
                                                                 "CV-6000",
                                                                 "MSW7430",
                                                                 "SVCT-1",
                                                                 "TOPPAN-ID",
                                                                 "Kitac5-D64",
                                                                 "MULTIHD-1",
                                                                 "MULTIHD-2",
                                                                 "MULTIHD-3"};
    if (set < 0 || set >= kTimingSetCount)
        return "Unknown";
    return kNames[static_cast<std::size_t>(set)];
}

} // namespace quvan
