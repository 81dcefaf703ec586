#include "table/cell_text.h"
#include "table/cp932_codec.h"
#include "table/record_text.h"
#include "table/table_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>

namespace quvan {

namespace {

// Only this much of the header line is searched for the mark and options.
constexpr std::size_t kHeaderLimit = 254;

constexpr const char* kColumnNames[] = {"", "Carry", "Frames", "Comments", "Result"};

// Hands out the file's lines without their CR LF or LF.
class LineSource {
  public:
    virtual ~LineSource() = default;
    virtual bool next(std::string_view& line) = 0;
};

class BytesLineSource : public LineSource {
  public:
    explicit BytesLineSource(std::string_view bytes) : bytes_(bytes) {}
    bool next(std::string_view& line) override {
        if (pos_ >= bytes_.size())
            return false;
        std::size_t end = bytes_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = bytes_.size();
        line = bytes_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return true;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Reads line by line, so that a large file picked by mistake is not read
// whole before the user is asked about it, and reading ends at the last row.
class StreamLineSource : public LineSource {
  public:
    explicit StreamLineSource(std::istream& in) : in_(in) {}
    bool next(std::string_view& line) override {
        if (!std::getline(in_, buffer_))
            return false;
        if (!buffer_.empty() && buffer_.back() == '\r')
            buffer_.pop_back();
        line = buffer_;
        return true;
    }

  private:
    std::istream& in_;
    std::string buffer_;
};

// A decimal integer as the platform's conversion reads it: leading spaces,
// an optional sign, at least one digit and nothing after the digits.
std::optional<int> decimalNumber(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return std::nullopt;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view digits = text.substr(i);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    long long magnitude = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// Value of each byte as a hexadecimal digit, -1 where it is none.
constexpr auto kHexValue = [] {
    std::array<signed char, 256> table{};
    table.fill(-1);
    for (int c = '0'; c <= '9'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<signed char>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<signed char>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<signed char>(c - 'a' + 10);
    return table;
}();

int hexValue(char c) {
    return kHexValue[static_cast<unsigned char>(c)];
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

// Fills one table row from its line; false when a number was malformed.
class RowReader {
  public:
    RowReader(LearningTable& table, int row, TableLoadResult& result)
        : table_(table), row_(row), signal_(table.record(row)), result_(result) {}

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
            signal_.Carry = decimalNumber(value).value_or(0);
            state = 6;
            return true;
        case 6:
            signal_.DataBits = decimalNumber(value).value_or(0);
            state = 7;
            return true;
        case 7:
            signal_.RepeatBit = decimalNumber(value).value_or(0);
            state = 8;
            return true;
        case 8:
            return readPattern(state, field, value);
        case 9:
            state = 10;
            return readCodes(field, value);
        default:
            return true;
        }
    }

    bool readPattern(int& state, int field, std::string_view value) {
        const int index = value.empty() ? -1 : hexValue(value[0]);
        if (index < 0)
            return fail(field, "Twp:", value.substr(0, 1), "is not a hexadecimal pattern number");
        const auto slot = static_cast<std::size_t>(index);
        std::string_view highText = copyOf(value, 3, 5);
        std::optional<int> high = decimalNumber(highText);
        if (!high)
            return fail(field, "Twp:", highText, "is not a decimal number");
        signal_.PatternHigh[slot] = *high;
        std::string_view widthText = copyOf(value, 9, 6);
        std::optional<int> width = decimalNumber(widthText);
        if (!width)
            return fail(field, "Twp:", widthText, "is not a decimal number");
        signal_.PatternWidth[slot] = *width;
        state = index == 15 ? 9 : 8;
        return true;
    }

    bool readCodes(int field, std::string_view value) {
        std::size_t stored = std::min(value.size(), signal_.PatternCode.size());
        // Plain pointers: up to two million digits pass here per file.
        const signed char* hex = kHexValue.data();
        const char* digits = value.data();
        std::uint8_t* codes = signal_.PatternCode.data();
        for (std::size_t k = 0; k < stored; ++k) {
            const int code = hex[static_cast<unsigned char>(digits[k])];
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

    bool fail(int field, std::string_view tag, std::string_view cp932, std::string_view why) {
        TableConversionError error;
        error.row = row_;
        error.field = field;
        error.tag = tag;
        error.text = Utf8FromCp932(cp932).text;
        error.message = "Table file row " + std::to_string(row_) + " (line " +
                        std::to_string(row_ + 1) + "), field " + std::to_string(field) + " (" +
                        error.tag + "): \"" + error.text + "\" " + std::string(why) +
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
    LearnedSignal& signal_;
    TableLoadResult& result_;
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

TableLoadResult readTable(LineSource& lines, LearningTable& table,
                          const TableLoadOptions& options) {
    TableLoadResult result;
    std::string_view line;
    // A copy: the stream source reuses its buffer for the next line.
    const std::string header(lines.next(line) ? line : std::string_view{});
    if (header.substr(0, kHeaderLimit).find(kTableFileMark) == std::string::npos &&
        !(options.confirmNotTableFile && options.confirmNotTableFile())) {
        result.status = TableLoadStatus::Declined;
        return result;
    }
    result.header = readHeader(header);

    // The view is told once about the whole table, not once per cell.
    {
        RowsChangedPause pause(table);
        table.clearAll();
        result.status = TableLoadStatus::Loaded;
        for (int row = 1; row <= table.rowCount(); ++row) {
            if (!lines.next(line) || line.empty() || line.front() != '[')
                break;
            result.rowsRead = row;
            if (!RowReader(table, row, result).read(line)) {
                result.status = TableLoadStatus::StoppedAtError;
                break;
            }
        }
    }
    table.notifyRowsChanged(1, table.rowCount());

    if (options.monitorDump)
        for (int row = 1; row <= table.rowCount(); ++row)
            if (table.record(row).Carry != 0)
                result.monitorLines.push_back(MonitorDumpLine(row, table.record(row)));
    return result;
}

} // namespace

TableLoadResult ParseTableFile(std::string_view bytes, LearningTable& table,
                               const TableLoadOptions& options) {
    BytesLineSource lines(bytes);
    return readTable(lines, table, options);
}

TableLoadResult LoadTable(const std::string& path, LearningTable& table,
                          const TableLoadOptions& options) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return {};
    StreamLineSource lines(in);
    return readTable(lines, table, options);
}

} // namespace quvan
