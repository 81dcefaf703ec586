#pragma once
// The wave information editor without its window: what the editor shows for
// a table row, the conversion of a byte text into a pattern code, the
// commands that "IR Out" sends and the storing of an edited signal into the
// table. The dialog only moves texts between its controls and these.

#include "table/learned_signal.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan {
class LearningTable;
}

namespace quvan::tools {

// The board reads these fields back at fixed widths ("Twc:" three digits,
// "Twp:" five and six), so larger values would come back as other numbers.
inline constexpr std::int32_t kMaxEditCarry = 999;
inline constexpr std::int32_t kMaxEditHigh = 99999;
inline constexpr std::int32_t kMaxEditWidth = 999999;
inline constexpr std::int32_t kDefaultEditCarry = 380; // an empty or non-numeric Carry box

// The editor's controls as the user sees and types them.
struct WaveEditTexts {
    std::string Carry;                              // edtCarry
    std::string DataBits;                           // edtDataBits
    std::string RepeatBit;                          // edtRepeatBit
    std::array<std::string, kPatternSlots> High{};  // grid column 1, rows 1..16
    std::array<std::string, kPatternSlots> Width{}; // grid column 2, rows 1..16
    std::string Pcode;                              // edtPcode
    std::string ByteCode;                           // edtByteCode
};

// What the editor shows when it opens on `row`.
WaveEditTexts WaveEditTextsOf(const LearningTable& table, int row);

// The ruler above the pattern code: a digit every ten positions, "+" at the
// fives, "-" elsewhere ("0----+----1----+----2").
std::string PatternRuler(int length);

// The text after the first "d:" of a Result cell; empty when there is none.
std::string ByteCodeOf(std::string_view result);

// The byte text as a pattern code: "0" (the leader), eight digits per byte,
// least significant bit first, and "3" (the end). The pattern with the longer
// period of patterns 1 and 2 of `selected` stands for a 1 bit. Pairs of hex
// digits are read in turn; a pair that is not hex moves on by one character,
// so blanks between bytes are skipped and a last odd digit is a byte alone.
std::string ByteCodeToPatternCode(std::string_view bytes, const LearnedSignal& selected);

// The edited numbers as the record will hold them.
struct EditedSignal {
    std::int32_t Carry = kDefaultEditCarry;
    std::int32_t DataBits = 0;
    std::int32_t RepeatBit = 0;
    std::array<std::int32_t, kPatternSlots> High{};
    std::array<std::int32_t, kPatternSlots> Width{};
    std::vector<std::uint8_t> Codes; // one entry per character of edtPcode
};

// Either the signal or why it cannot be taken; the reason names the field.
struct WaveEditReading {
    std::optional<EditedSignal> signal;
    std::string refusal;
};

// Reads the boxes: a text that is not a number reads as its default (380 for
// Carry, 0 for the rest). Refused: a number the record or the board's fields
// cannot hold (negative, Carry above 999, DataBits above 4096, RepeatBit
// beyond DataBits, a mark time above 99999 or a period above 999999 µs), a
// pattern code longer than 4096 digits or with a character that is not a
// hexadecimal digit.
WaveEditReading ReadWaveEdit(const WaveEditTexts& texts);

// "Tp:" and one digit per output IR1..IR4, "1" where it is ticked.
std::string OutputSelection(const std::array<bool, 4>& outputs);

// The commands of "IR Out", in order: the output selection, the record block
// (the pattern list ends with the first pattern whose mark or period is 0,
// that one included), "Twd:" with the pattern code as typed, and "Tf:3".
std::vector<std::string> IrOutCommands(const EditedSignal& signal, std::string_view pcode,
                                       const std::array<bool, 4>& outputs);

// The row OK stores into: the first blank row from `source` down to the row
// before the last, else `source` itself.
int WaveEditTargetRow(const LearningTable& table, int source);

struct StoreOutcome {
    // The byte text was not stored because the target's Result has no "d:"
    // to put it after (the Result is left as it was).
    bool byteCodeNotStored = false;
};

// Stores the edited signal into row `target`: the four cells and WriteFlag of
// `source`, then the edited numbers, the Carry cell ("%4.1fkHz"), the pattern
// code (entries past its length keep their values) and the byte text after
// the Result's "d:".
StoreOutcome StoreEditedSignal(LearningTable& table, int source, int target,
                               const EditedSignal& signal, std::string_view byteCode);

} // namespace quvan::tools
