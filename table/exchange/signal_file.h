#pragma once
// Signals as the infrared world keeps them in files (raw timings, Pronto
// Hex, Flipper .ir files, pulse/space logs), read into one shape that the
// importer turns into the board's capture, and the limits every reader holds
// them to: what the board can measure and the table file can keep.

#include "protocols/ir_encoder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::exchange {

// Marks and spaces in microseconds, mark first: even positions are marks.
using Durations = std::vector<std::int32_t>;

// The board reports a mark in five digits and a period in six; the table
// file keeps the same widths.
inline constexpr std::int32_t kMaxMarkUs = 99999;
inline constexpr std::int32_t kMaxPeriodUs = 999999;
// One capture holds at most this many pulse pairs.
inline constexpr std::size_t kMaxPairs = protocols::kMaxCapturePulses;
// The board reports the carrier as two digits, a point and one digit.
inline constexpr std::int32_t kMinCarrierTenths = 100; // 10.0 kHz
inline constexpr std::int32_t kMaxCarrierTenths = 999; // 99.9 kHz
// A file that names no carrier is taken as the most common one.
inline constexpr std::int32_t kDefaultCarrierHz = 38000;

// One signal read from a file, in the shape its remote sends it.
struct ImportedSignal {
    std::string name; // empty when the file gives none
    int line = 0;     // where the signal begins in its file (from 1)
    std::int32_t carrierHz = 0;
    // A code of a known protocol, with the protocol's own frames, repeats and
    // timing (a parsed Flipper signal).
    std::optional<protocols::EncodedSignal> encoded;
    // Otherwise timings: `once` goes out when the button goes down and
    // `repeat` again and again while it is held. A raw recording does not say
    // which part repeats: then everything is in `once` and repeatGiven is
    // false. Either sequence may end with a mark or with a space.
    Durations once;
    Durations repeat;
    bool repeatGiven = false;
};

// A table row on its way out: its carrier and the marks and spaces of its
// lead-in and of one repeat section (both mark, space, mark, space ...).
struct ExportedSignal {
    int row = 0;
    std::string name;
    std::int32_t carrierHz = 0;
    Durations leadIn;
    Durations repeat;
};

// The signal as one sequence for formats that cannot mark a repeat: the
// lead-in and the repeat section, the repeat section twice when there is a
// lead-in, so that a reader sees which part repeats while the button is held.
Durations SingleSequence(const ExportedSignal& signal);

// A signal a reader could not take, with the reason.
struct SignalRefusal {
    int line = 0;     // where the fault is (from 1); 0 when it is the whole file's
    std::string name; // the signal's name when it was known
    std::string reason;
};

struct SignalFile {
    std::vector<ImportedSignal> accepted;
    std::vector<SignalRefusal> refused;
};

// "line 12: POWER: reason", the form every report of a refusal takes.
std::string DescribeRefusal(const SignalRefusal& refusal);

// The carrier in 0.1 kHz units, rounded; nullopt with the reason when the
// board could not report it.
std::optional<std::string> CarrierFault(std::int32_t carrierHz);
std::int32_t CarrierTenths(std::int32_t carrierHz);
// A carrier as people write it: "38000", "38000Hz", "38kHz", "36.7 kHz";
// a bare number below 1000 is in kHz. nullopt when it is none of these.
std::optional<std::int32_t> ParseCarrierHz(std::string_view text);

// Collects the durations of one signal as a reader meets them, refusing
// those the board cannot measure. Each add names the line the value came
// from; the first fault is kept and later values are ignored.
class DurationCollector {
  public:
    // A value with its kind known (pulse/space lines, signed raw values).
    void addMark(std::int64_t us, int line);
    void addSpace(std::int64_t us, int line);
    // A value whose kind follows from its position (mark, space, mark ...).
    void addNext(std::int64_t us, int line);

    bool empty() const { return durations_.empty(); }
    bool failed() const { return fault_.has_value(); }
    void fail(int line, std::string reason);
    bool nextIsMark() const { return durations_.size() % 2 == 0; }
    // The durations, or the first fault; checks the pair count.
    std::optional<SignalRefusal> finish(Durations& out, int line);
    void clear();

  private:
    void add(std::int64_t us, bool mark, int line);
    Durations durations_;
    std::optional<SignalRefusal> fault_;
};

// Checks durations that arrived as a whole (a Pronto sequence): the same
// rules as DurationCollector. Returns the reason of the first fault.
std::optional<std::string> DurationsFault(const Durations& durations);

// ---- Small text helpers shared by the readers ----

// The lines of a text, LF or CR LF, with their numbers from 1; a UTF-8 byte
// order mark at the start is skipped.
struct TextLine {
    int number = 0;
    std::string_view text;
};
std::vector<TextLine> SplitLines(std::string_view text);

std::string_view Trim(std::string_view text);
// Words separated by blanks (and commas when `commas`).
std::vector<std::string_view> Words(std::string_view text, bool commas = false);
// A whole decimal number without sign, at most 18 digits; nullopt otherwise.
std::optional<std::int64_t> WholeNumber(std::string_view text);
// A value quoted for a message: at most 24 characters, control bytes as '?'.
std::string Quoted(std::string_view text);
// "key: value" lines; false when there is no colon.
bool SplitKeyValue(std::string_view line, std::string_view& key, std::string_view& value);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace quvan::exchange
