// The entry memory: storing the registration block, reading entries back,
// and the flash file that keeps entries and switches across runs.
#include "sim/board_model.h"

#include "sim/text_number.h"

#include <cstdio>
#include <sstream>

namespace quvan::sim {

namespace {
constexpr std::string_view kFlashHeader = "QUVAN-SIM FLASH 1";

BoardOutput line(std::string text) {
    return {BoardOutput::Kind::Line, std::move(text)};
}

std::optional<int> entry_number(std::string_view arg) {
    const auto n = parse_decimal(arg);
    if (!n || *n < 1 || *n > kBoardEntries)
        return std::nullopt;
    return n;
}

std::string three_digits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return buf;
}
} // namespace

BoardOutputs BoardModel::store_entry(std::string_view arg) {
    if (arg == "FlashWrite") {
        flashed_entries_ = entries_;
        flashed_used_ = used_;
        persist();
        return {};
    }
    const auto n = entry_number(arg);
    if (!n)
        return {line("Tws:" + std::string(arg) + " Error")};
    const std::size_t i = static_cast<std::size_t>(*n - 1);
    if (staging_.write_flag == kErasedWriteFlag) {
        entries_[i] = BoardEntry{};
        used_[i] = false;
    } else {
        entries_[i] = staging_;
        used_[i] = true;
    }
    if (!config_.ack_on_store)
        return {};
    return {line("ACK")};
}

BoardOutputs BoardModel::read_entry(std::string_view arg) const {
    const auto n = entry_number(arg);
    if (!n || !used_[static_cast<std::size_t>(*n - 1)]) {
        const auto shown = parse_decimal(arg);
        return {line("Twl:" + (shown ? three_digits(*shown) : std::string(arg)) + " Error")};
    }
    BoardOutputs out;
    for (auto& text : entry_block_lines(*n, entries_[static_cast<std::size_t>(*n - 1)]))
        out.push_back(line(std::move(text)));
    return out;
}

std::string BoardModel::flash_text() const {
    return memory_text_of(flashed_entries_, flashed_used_);
}

std::string BoardModel::memory_text() const {
    return memory_text_of(entries_, used_);
}

std::string BoardModel::memory_text_of(const std::vector<BoardEntry>& entries,
                                       const std::vector<bool>& used) const {
    std::string text(kFlashHeader);
    text += "\n" + dip_.setting_lines(dip_.effective());
    for (int n = 1; n <= kBoardEntries; ++n) {
        if (!used[static_cast<std::size_t>(n - 1)])
            continue;
        for (const auto& l : entry_block_lines(n, entries[static_cast<std::size_t>(n - 1)]))
            text += l + "\n";
    }
    return text;
}

bool BoardModel::load_flash_text(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string l;
    if (!std::getline(in, l) || l != kFlashHeader)
        return false;
    DipSwitches dip;
    std::vector<BoardEntry> entries(kBoardEntries);
    std::vector<bool> used(kBoardEntries, false);
    int current = 0;
    while (std::getline(in, l)) {
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        if (l.empty())
            continue;
        if (l.starts_with("Twl:")) {
            const auto n = entry_number(l.substr(4));
            if (!n)
                return false;
            current = *n;
            used[static_cast<std::size_t>(current - 1)] = true;
            continue;
        }
        if (l.starts_with("Tw")) {
            if (current == 0 ||
                !apply_entry_command(entries[static_cast<std::size_t>(current - 1)], l))
                return false;
            continue;
        }
        const auto reply = dip.handle(l);
        if (!reply || *reply == "?")
            return false;
    }
    dip.apply_pending();
    dip_.load(dip.effective());
    entries_ = flashed_entries_ = entries;
    used_ = flashed_used_ = used;
    return true;
}

void BoardModel::persist() {
    if (on_flash_write)
        on_flash_write(flash_text());
}

} // namespace quvan::sim
