#include "maintenance/hex_file.h"

#include "platform/user_text.h"

#include <array>
#include <cstdio>

namespace quvan::maintenance {

using user_text::Fill;
using user_text::Tr;

namespace {

// The value of each character as a hex digit, -1 for anything else.
constexpr std::array<std::int8_t, 256> kHexDigits = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int c = '0'; c <= '9'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 10);
    return table;
}();

int HexDigit(char c) {
    return kHexDigits[static_cast<unsigned char>(c)];
}

std::string Hex2(int value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// The value of "0x" followed by four characters; 0 when they are not all hex
// digits or the data ends first.
std::uint32_t FourDigitValue(std::string_view data, std::size_t at) {
    if (at + 4 > data.size())
        return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int digit = HexDigit(data[at + i]);
        if (digit < 0)
            return 0;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// What is wrong with one record, or "" when it is well-formed. The digits
// are read once, pair by pair; the words come only for a fault.
std::string RecordFault(std::string_view line) {
    if (line.front() != ':')
        return Tr("HexFile", "レコードではありません（':' で始まっていません）");
    const std::string_view digits = line.substr(1);
    std::array<std::uint8_t, 4> head{}; // count, offset high, offset low, type
    int sum = 0;
    int last = 0; // the byte read last: the checksum once all are read
    const std::size_t pairs = digits.size() / 2;
    bool allDigits = digits.size() % 2 == 0 || HexDigit(digits.back()) >= 0;
    for (std::size_t i = 0; i < pairs && allDigits; ++i) {
        const int high = HexDigit(digits[2 * i]);
        const int low = HexDigit(digits[2 * i + 1]);
        allDigits = (high | low) >= 0;
        last = high * 16 + low;
        sum += last;
        if (i < head.size())
            head[i] = static_cast<std::uint8_t>(last);
    }
    for (std::size_t i = 0; !allDigits && i < digits.size(); ++i) {
        if (HexDigit(digits[i]) < 0) {
            const unsigned char c = static_cast<unsigned char>(digits[i]);
            const std::string shown =
                c >= 0x20 && c < 0x7F ? "'" + std::string(1, digits[i]) + "'" : "0x" + Hex2(c);
            return Fill(Tr("HexFile", "%1 文字目 (%2) は16進数の数字ではありません"),
                        {std::to_string(i + 2), shown});
        }
    }
    if (digits.size() % 2 != 0)
        return Tr("HexFile", "レコードの16進数の桁数が奇数です");
    if (pairs < 5)
        return Tr("HexFile", "レコードが短すぎます");
    const int count = head[0];
    if (pairs != static_cast<std::size_t>(count) + 5)
        return Fill(Tr("HexFile", "バイト数は %1 ですが、行のデータは %2 バイトです"),
                    {std::to_string(count), std::to_string(pairs - 5)});
    if ((sum & 0xFF) != 0) {
        const int expected = (0x100 - ((sum - last) & 0xFF)) & 0xFF;
        return Fill(Tr("HexFile", "チェックサムが %1 ですが、レコードの内容からは %2 です"),
                    {Hex2(last), Hex2(expected)});
    }
    const int type = head[3];
    static constexpr std::array<int, 6> kDataBytes = {-1, 0, 2, -2, 2, 4}; // -2: not allowed
    if (type > 5 || kDataBytes[static_cast<std::size_t>(type)] == -2)
        return Fill(Tr("HexFile", "レコードタイプ %1 は使えません（00, 01, 02, 04, 05 のみ）"),
                    {Hex2(type)});
    const int need = kDataBytes[static_cast<std::size_t>(type)];
    if (need >= 0 && count != need)
        return Fill(
            Tr("HexFile", "タイプ %1 のレコードのデータは %2 バイトです（%3 バイトあります）"),
            {Hex2(type), std::to_string(need), std::to_string(count)});
    return {};
}

} // namespace

std::optional<HexLine> HexLineWalker::next() {
    // A line feed where a line would start ends the previous line's CR LF
    // (or is a blank line of an LF file): skip it.
    while (pos_ < data_.size() && data_[pos_] == '\n') {
        if (pos_ == 0 || data_[pos_ - 1] != '\r')
            ++number_;
        ++pos_;
    }
    if (pos_ >= data_.size())
        return std::nullopt;
    const std::size_t start = pos_;
    std::size_t end = start;
    while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n')
        ++end;
    HexLine line{data_.substr(start, end - start), end, number_};
    pos_ = end;
    if (pos_ < data_.size()) {
        ++pos_; // the CR or LF that ended the line
        ++number_;
    }
    return line;
}

bool IsEndOfFileRecord(std::string_view line) {
    return line.size() >= 9 && line[0] == ':' && line.substr(1, 2) == "00" &&
           line.substr(7, 2) == "01";
}

std::string HexFileCheck::message() const {
    return line > 0 ? Fill(Tr("HexFile", "%1 行目: %2"), {std::to_string(line), fault}) : fault;
}

HexFileCheck CheckHexFile(std::string_view data) {
    if (data.empty())
        return {false, 0, Tr("HexFile", "ファイルが空です")};
    HexLineWalker walker(data);
    while (const std::optional<HexLine> line = walker.next()) {
        if (line->text.empty())
            continue; // sent as an empty command, which the loader passes over
        std::string fault = RecordFault(line->text);
        if (!fault.empty())
            return {false, line->number, std::move(fault)};
        if (IsEndOfFileRecord(line->text))
            return {true, 0, {}};
    }
    return {false, 0, Tr("HexFile", "ファイルに終了レコード (:00000001FF) がありません")};
}

std::string LastAddressScan::text() const {
    char text[64];
    std::snprintf(text, sizeof text, "LastAdrs[0x%04X:%04X] EraseSector:%d",
                  static_cast<unsigned>(upper), static_cast<unsigned>(lower), sector);
    return text;
}

LastAddressScan ScanLastAddress(std::string_view data) {
    LastAddressScan scan;
    // Characters after a ':' are counted from 1: count 1-2, offset 3-6,
    // type 7-8, data from 9.
    for (std::size_t i = data.find(':'); i != std::string_view::npos; i = data.find(':', i + 1)) {
        const auto at = [&](std::size_t k) { return i + k < data.size() ? data[i + k] : '\0'; };
        if (at(1) == '0' && at(2) == '0')
            break;
        if (at(8) == '4')
            scan.upper = FourDigitValue(data, i + 9);
        else if (at(8) == '0')
            scan.lower = FourDigitValue(data, i + 3);
    }
    const std::uint32_t last = (scan.upper << 16) + scan.lower;
    scan.sector = FlashSectorOf(static_cast<std::int32_t>(last));
    return scan;
}

int FlashSectorOf(std::int32_t address) {
    // Exclusive upper bounds of sectors 2 to 6; everything above is sector 7.
    static constexpr std::array<std::int32_t, 5> kBounds = {0x0800C000, 0x08010000, 0x08020000,
                                                            0x08040000, 0x08060000};
    for (std::size_t i = 0; i < kBounds.size(); ++i)
        if (address < kBounds[i])
            return static_cast<int>(i) + 2;
    return 7;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string data;
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        data.append(block, got);
    const bool failed = std::ferror(file) != 0; // a folder opens but cannot be read
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return data;
}

} // namespace quvan::maintenance
