#include "table/cell_text.h"
#include "table/cp932_codec.h"
#include "table/hex_digit.h"
#include "table/record_text.h"
#include "table/table_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quvan {

namespace {

// Only this much of the header line is searched for the mark and options.
constexpr std::size_t kHeaderLimit = 254;

constexpr const char* kColumnNames[] = {"", "Carry", "Frames", "Comments", "Result"};

// Hands out the file's lines without their line ends. A line ends at LF,
// CR LF or a lone CR (files saved by old Mac editors): a cell never holds a
// CR or LF, so a lone CR cannot be part of a row. A returned line stays
// valid until the next call.
class LineSource {
  public:
    // The whole file in memory.
    explicit LineSource(std::string_view bytes) : view_(bytes), atEnd_(true) {}
    // Reads `fd` (not owned) a chunk at a time, so a large file picked by
    // mistake is not read whole before the user is asked about it, and
    // reading ends at the last row.
    explicit LineSource(int fd) : fd_(fd) {}

    bool next(std::string_view& line) {
        for (;;) {
            const std::size_t end = view_.find_first_of("\r\n", scan_);
            if (end != std::string_view::npos) {
                // A CR at the end of a chunk may be the first half of CR LF.
                if (view_[end] == '\r' && end + 1 == view_.size() && fill())
                    continue;
                std::size_t after = end + 1;
                if (view_[end] == '\r' && after < view_.size() && view_[after] == '\n')
                    ++after;
                return take(line, end, after);
            }
            scan_ = view_.size();
            if (fill())
                continue;
            if (pos_ >= view_.size())
                return false;
            return take(line, view_.size(), view_.size());
        }
    }

    int lineNumber() const { return lineNumber_; }
    // What failed while reading, empty when nothing did.
    const std::string& readError() const { return readError_; }

  private:
    bool take(std::string_view& line, std::size_t end, std::size_t after) {
        line = view_.substr(pos_, end - pos_);
        pos_ = scan_ = after;
        ++lineNumber_;
        return true;
    }

    // Appends the next chunk of the file; false at its end or on an error.
    bool fill() {
        if (atEnd_)
            return false;
        buffer_.erase(0, pos_);
        scan_ -= pos_;
        pos_ = 0;
        constexpr std::size_t kChunk = 64 * 1024;
        const std::size_t had = buffer_.size();
        buffer_.resize(had + kChunk);
        ssize_t got = 0;
        do {
            got = ::read(fd_, buffer_.data() + had, kChunk);
        } while (got < 0 && errno == EINTR);
        if (got < 0)
            readError_ = std::strerror(errno);
        buffer_.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        atEnd_ = got <= 0;
        view_ = buffer_;
        return got > 0;
    }

    int fd_ = -1;
    std::string buffer_;
    std::string_view view_;
    std::size_t pos_ = 0;  // start of the next line
    std::size_t scan_ = 0; // where the search for its end goes on
    bool atEnd_ = false;
    int lineNumber_ = 0;
    std::string readError_;
};

enum class DecimalStatus { Ok, NotANumber, TooLarge };

struct DecimalRead {
    DecimalStatus status = DecimalStatus::NotANumber;
    int value = 0; // 0 unless Ok
};

// A decimal integer as the platform's conversion reads it: leading spaces,
// an optional sign, at least one digit and nothing after the digits.
DecimalRead decimalNumber(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return {};
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view digits = text.substr(i);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return {};
    long long magnitude = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (ec == std::errc::result_out_of_range)
        return {DecimalStatus::TooLarge, 0};
    if (ec != std::errc() || end != digits.data() + digits.size())
        return {};
    long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return {DecimalStatus::TooLarge, 0};
    return {DecimalStatus::Ok, static_cast<int>(value)};
}

// Delphi-style Copy: 1-based start, cut at the end of the text.
std::string_view copyOf(std::string_view text, std::size_t start, std::size_t count) {
    if (start < 1 || start > text.size())
        return {};
    return text.substr(start - 1, count);
}

std::string trimmedText(std::string_view cp932) {
    return TrimControl(Utf8FromCp932(cp932).text);
}

TableHeaderFound readHeader(std::string_view line) {
    std::string_view header = line.substr(0, kHeaderLimit);
    auto has = [&](std::string_view word) { return header.find(word) != std::string_view::npos; };
    auto after = [&](std::string_view tag, std::size_t count) -> std::optional<std::string> {
        std::size_t at = header.find(tag);
        if (at == std::string_view::npos)
            return std::nullopt;
        return trimmedText(header.substr(at + tag.size(), count));
    };
    TableHeaderFound found;
    found.eiritsu = has("Eiritsu");
    found.serial = has("Serial");
    found.philips = has("Philips");
    if (found.philips) {
        found.ts = after("Ts:", 4);
        found.tw = after("Tw:", 4);
        found.bits = after("Bits:", 2);
    }
    return found;
}

// A text from the file as a message can show it: UTF-8, control bytes as
// "\xNN", at most `limit` characters.
std::string shownText(std::string_view cp932, std::size_t limit = 40) {
    const bool cut = cp932.size() > limit;
    std::string utf8 = Utf8FromCp932(cp932.substr(0, limit)).text;
    std::string shown;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return cut ? shown + "..." : shown;
}

// Fills one table row from its line; false when a number was malformed.
class RowReader {
  public:
    RowReader(LearningTable& table, int row, int line, TableLoadResult& result)
        : table_(table), row_(row), line_(line), signal_(table.record(row)), result_(result) {}

    bool read(std::string_view line) {
        std::string content(line);
        if (content.back() != ',')
            content += ',';
        // "[01]," is the older two-digit label, from before the Result column.
        const bool twoDigitLabel = content.size() > 3 && content[3] == ']';
        std::size_t pos = twoDigitLabel ? 5 : 6;
        int state = 1;
        int field = 2;
        bool ok = true;
        while (ok && pos < content.size()) {
            std::size_t comma = content.find(',', pos);
            if (comma == std::string::npos)
                break;
            std::string_view text = std::string_view(content).substr(pos, comma - pos);
            pos = comma + 1;
            if (state <= 3) {
                setCell(state, text);
                ++state;
                if (twoDigitLabel && state == 4)
                    state = 5;
            } else {
                ok = readTagged(state, field, text);
            }
            ++field;
        }
        keepRecordConsistent();
        if (ok)
            reportCutShort();
        return ok;
    }

  private:
    void setCell(int col, std::string_view cp932) {
        Converted cell = Utf8FromCp932(cp932);
        if (cell.replaced > 0)
            warn(std::string(kColumnNames[col]) + ": " + std::to_string(cell.replaced) +
                 " byte(s) that are not Shift-JIS are shown as 〓");
        table_.setCell(row_, col, std::move(cell.text));
    }

    bool readTagged(int& state, int field, std::string_view text) {
        // A tag sends the state to its field: Twc 5, Twb 6, Twr 7, Twp 8, Twd 9.
        for (int i = 0; i < 5; ++i)
            if (text.substr(0, 4) == kRecordTags[i])
                state = 5 + i;
        std::string_view value = text.size() > 4 ? text.substr(4) : std::string_view{};
        switch (state) {
        case 4:
            setCell(ColResult, text);
            state = 5;
            return true;
        case 5:
            signal_.Carry = countField("Twc:", value);
            if (signal_.Carry < 0) {
                warn("Twc:" + shownText(value) +
                     " is a negative carrier and was read as 0 (no signal)");
                signal_.Carry = 0;
            }
            state = 6;
            return true;
        case 6:
            signal_.DataBits = countField("Twb:", value);
            state = 7;
            return true;
        case 7:
            signal_.RepeatBit = countField("Twr:", value);
            state = 8;
            return true;
        case 8:
            return readPattern(state, field, value);
        case 9:
            state = 10;
            sawCodes_ = true;
            codeDigits_ = value.size();
            return readCodes(field, value);
        default:
            return true;
        }
    }

    // Twc, Twb and Twr: a value that is no number reads as 0, which empties
    // a learned row, so the user hears of it.
    int countField(std::string_view tag, std::string_view value) {
        const DecimalRead read = decimalNumber(value);
        if (read.status == DecimalStatus::TooLarge)
            warn(std::string(tag) + shownText(value) + " is too large and was read as 0");
        else if (read.status == DecimalStatus::NotANumber)
            warn(std::string(tag) + shownText(value) + " is not a number and was read as 0");
        return read.value;
    }

    bool readPattern(int& state, int field, std::string_view value) {
        const int index = value.empty() ? -1 : HexDigitValue(value[0]);
        if (index < 0)
            return fail(field, "Twp:", value.substr(0, 1), "is not a hexadecimal pattern number");
        const auto slot = static_cast<std::size_t>(index);
        std::string_view highText = copyOf(value, 3, 5);
        DecimalRead high = decimalNumber(highText);
        if (high.status != DecimalStatus::Ok)
            return fail(field, "Twp:", highText, "is not a decimal number");
        signal_.PatternHigh[slot] = high.value;
        std::string_view widthText = copyOf(value, 9, 6);
        DecimalRead width = decimalNumber(widthText);
        if (width.status != DecimalStatus::Ok)
            return fail(field, "Twp:", widthText, "is not a decimal number");
        signal_.PatternWidth[slot] = width.value;
        state = index == 15 ? 9 : 8;
        return true;
    }

    bool readCodes(int field, std::string_view value) {
        std::size_t stored = std::min(value.size(), signal_.PatternCode.size());
        // Plain pointers: up to two million digits pass here per file.
        const char* digits = value.data();
        std::uint8_t* codes = signal_.PatternCode.data();
        for (std::size_t k = 0; k < stored; ++k) {
            const int code = HexDigitValue(digits[k]);
            if (code < 0)
                return fail(field, "Twd:", value.substr(k, 1), "is not a hexadecimal digit");
            codes[k] = static_cast<std::uint8_t>(code);
        }
        if (value.size() > stored)
            warn("Twd: the codes after the first " + std::to_string(stored) + " were ignored");
        return true;
    }

    // Writing, registering and firing index PatternCode by these two.
    void keepRecordConsistent() {
        int bits = std::clamp(signal_.DataBits, 0, kMaxPatternCodes);
        if (bits != signal_.DataBits)
            warn("Twb:" + std::to_string(signal_.DataBits) + " is outside 0.." +
                 std::to_string(kMaxPatternCodes) + " and was limited to " + std::to_string(bits));
        signal_.DataBits = bits;
        int repeat = std::clamp(signal_.RepeatBit, 0, bits);
        if (repeat != signal_.RepeatBit)
            warn("Twr:" + std::to_string(signal_.RepeatBit) + " is outside 0.." +
                 std::to_string(bits) + " and was limited to " + std::to_string(repeat));
        signal_.RepeatBit = repeat;
    }

    // A file cut off inside a row (a copy that broke off, a disk that filled)
    // leaves a row whose missing codes read as zeros: a different signal
    // that looks learned.
    void reportCutShort() {
        if (!sawCodes_)
            warn("the line ends before its last field (Twd:); the row is incomplete");
        else if (codeDigits_ < static_cast<std::size_t>(signal_.DataBits))
            warn("Twd: holds " + std::to_string(codeDigits_) +
                 " codes where Twb:" + std::to_string(signal_.DataBits) + " asks for " +
                 std::to_string(signal_.DataBits) + "; the rest read as 0");
    }

    bool fail(int field, std::string_view tag, std::string_view cp932, std::string_view why) {
        TableConversionError error;
        error.row = row_;
        error.line = line_;
        error.field = field;
        error.tag = tag;
        error.text = Utf8FromCp932(cp932).text;
        error.message = "Table file row " + std::to_string(row_) + " (line " +
                        std::to_string(line_) + "), field " + std::to_string(field) + " (" +
                        error.tag + "): \"" + shownText(cp932) + "\" " + std::string(why) +
                        ". Reading stopped; rows 1 to " + std::to_string(row_) +
                        " hold what was read.";
        result_.conversionError = std::move(error);
        return false;
    }

    void warn(const std::string& text) {
        result_.warnings.push_back("row " + std::to_string(row_) + ", " + text);
    }

    LearningTable& table_;
    int row_;
    int line_;
    LearnedSignal& signal_;
    TableLoadResult& result_;
    bool sawCodes_ = false;
    std::size_t codeDigits_ = 0;
};

// Holds back the table's change notifications while it is alive.
class RowsChangedPause {
  public:
    explicit RowsChangedPause(LearningTable& table)
        : table_(table), saved_(std::move(table.onRowsChanged)) {
        table_.onRowsChanged = nullptr;
    }
    ~RowsChangedPause() { table_.onRowsChanged = std::move(saved_); }
    RowsChangedPause(const RowsChangedPause&) = delete;
    RowsChangedPause& operator=(const RowsChangedPause&) = delete;

  private:
    LearningTable& table_;
    std::function<void(int, int)> saved_;
};

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

bool isRowLine(std::string_view line) {
    return !line.empty() && line.front() == '[';
}

// A row line beyond the edition's rows that carries something: a cell text
// or a carrier.
bool rowLineHoldsData(std::string_view line) {
    std::size_t pos = line.find(',');
    int cells = 0;
    while (pos != std::string_view::npos && pos < line.size()) {
        const std::size_t comma = line.find(',', pos + 1);
        const std::string_view field =
            line.substr(pos + 1, comma == std::string_view::npos ? comma : comma - pos - 1);
        if (field.substr(0, 4) == "Twc:")
            return decimalNumber(field.substr(4)).value != 0;
        if (cells < 4 && !StartsWithRecordTag(field) && !isBlankLine(field))
            return true;
        ++cells;
        pos = comma;
    }
    return false;
}

std::string rowsHeld(int rowsRead) {
    return rowsRead == 0 ? std::string("no row was read")
                         : "rows 1 to " + std::to_string(rowsRead) + " hold what was read";
}

TableLoadResult readTable(LineSource& lines, LearningTable& table,
                          const TableLoadOptions& options) {
    TableLoadResult result;
    std::string_view line;
    // A copy: the source reuses its buffer for the next line.
    const std::string header(lines.next(line) ? line : std::string_view{});
    if (header.substr(0, kHeaderLimit).find(kTableFileMark) == std::string::npos &&
        !(options.confirmNotTableFile && options.confirmNotTableFile())) {
        result.status = TableLoadStatus::Declined;
        return result;
    }
    result.header = readHeader(header);

    std::optional<TableReadStop> stop;
    // The view is told once about the whole table, not once per cell.
    {
        RowsChangedPause pause(table);
        table.clearAll();
        result.status = TableLoadStatus::Loaded;
        int row = 1;
        while (row <= table.rowCount() && lines.next(line)) {
            // Spreadsheets and hand edits leave empty lines between rows.
            if (isBlankLine(line))
                continue;
            if (!isRowLine(line)) {
                stop = TableReadStop{lines.lineNumber(), 0,
                                     "Table file line " + std::to_string(lines.lineNumber()) +
                                         ": \"" + shownText(line) + "\" is not a row line."};
                break;
            }
            result.rowsRead = row;
            if (!RowReader(table, row, lines.lineNumber(), result).read(line)) {
                result.status = TableLoadStatus::StoppedAtError;
                break;
            }
            ++row;
        }
    }
    table.notifyRowsChanged(1, table.rowCount());

    // What was left unread, so that nothing is lost without a word.
    if (stop || result.status == TableLoadStatus::StoppedAtError) {
        int unread = 0;
        while (lines.next(line))
            unread += isRowLine(line) ? 1 : 0;
        const std::string left = std::to_string(unread) + " row line(s) after it were not read.";
        if (result.conversionError)
            result.conversionError->message += " " + left;
        if (stop) {
            stop->unreadRowLines = unread;
            stop->message += " Reading stopped there; " + rowsHeld(result.rowsRead) + ", " + left;
        }
    } else if (result.rowsRead == table.rowCount()) {
        int withData = 0;
        int first = 0;
        while (lines.next(line)) {
            if (isRowLine(line) && rowLineHoldsData(line)) {
                first = first == 0 ? lines.lineNumber() : first;
                ++withData;
            }
        }
        if (withData > 0)
            stop = TableReadStop{first, withData,
                                 "The table holds " + std::to_string(table.rowCount()) + " rows; " +
                                     std::to_string(withData) +
                                     " row line(s) after them (from line " + std::to_string(first) +
                                     ") hold signals or texts and were not read."};
    }
    if (!lines.readError().empty() && result.status != TableLoadStatus::StoppedAtError)
        stop = TableReadStop{lines.lineNumber(), 0,
                             "Reading the table file failed after line " +
                                 std::to_string(lines.lineNumber()) + ": " + lines.readError() +
                                 ". " + rowsHeld(result.rowsRead) + "."};
    if (stop && result.status == TableLoadStatus::Loaded) {
        result.status = TableLoadStatus::StoppedEarly;
        result.stop = std::move(stop);
    }

    if (options.monitorDump)
        for (int row = 1; row <= table.rowCount(); ++row)
            if (table.record(row).Carry != 0)
                result.monitorLines.push_back(MonitorDumpLine(row, table.record(row)));
    return result;
}

} // namespace

TableLoadResult ParseTableFile(std::string_view bytes, LearningTable& table,
                               const TableLoadOptions& options) {
    LineSource lines(bytes);
    return readTable(lines, table, options);
}

TableLoadResult LoadTable(const std::string& path, LearningTable& table,
                          const TableLoadOptions& options) {
    TableLoadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = fd < 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : errno;
        if (fd >= 0)
            ::close(fd);
        result.error = path + ": " + std::strerror(error);
        return result;
    }
    LineSource lines(fd);
    result = readTable(lines, table, options);
    ::close(fd);
    return result;
}

} // namespace quvan
