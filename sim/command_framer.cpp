#include "sim/command_framer.h"

namespace quvan::sim {

namespace {
// A command longer than any the tool sends (a HEX record is well below
// this) is cut, so that a stream without delimiters cannot grow forever.
constexpr std::size_t kMaxCommand = 8192;
} // namespace

namespace {
// The tool's settings say "無し" (none); the simulator also takes "none".
bool is_none_name(std::string_view name) {
    return name.empty() || name == "none" || name == "無し";
}
} // namespace

std::optional<Delimiter> parse_delimiter_name(std::string_view name) {
    if (name == "ETX")
        return Delimiter::Etx;
    if (name == "CR")
        return Delimiter::Cr;
    if (name == "LF")
        return Delimiter::Lf;
    if (name == "CRLF")
        return Delimiter::CrLf;
    if (is_none_name(name))
        return Delimiter::None;
    return std::nullopt;
}

std::optional<bool> parse_head_name(std::string_view name) {
    if (name == "STX")
        return true;
    if (is_none_name(name))
        return false;
    return std::nullopt;
}

std::string delimiter_bytes(Delimiter d) {
    switch (d) {
    case Delimiter::Etx:
        return "\x03";
    case Delimiter::Cr:
        return "\r";
    case Delimiter::Lf:
        return "\n";
    case Delimiter::CrLf:
        return "\r\n";
    case Delimiter::None:
        break;
    }
    return "";
}

CommandFramer::CommandFramer(bool expect_stx, Delimiter delimiter, std::int32_t idle_ms)
    : expect_stx_(expect_stx), delimiter_(delimiter), idle_ms_(idle_ms) {}

void CommandFramer::finish(std::vector<std::string>& out) {
    out.push_back(std::move(partial_));
    partial_.clear();
    in_frame_ = false;
}

std::vector<std::string> CommandFramer::feed(std::string_view bytes, std::int64_t now_ms) {
    std::vector<std::string> out;
    if (!bytes.empty())
        last_byte_ms_ = now_ms;
    for (char c : bytes) {
        if (expect_stx_) {
            if (c == '\x02') {
                // A new head starts a new command; a half command before it
                // was cut short on the line and is dropped.
                partial_.clear();
                in_frame_ = true;
                continue;
            }
            if (!in_frame_)
                continue; // noise between commands
        }
        partial_ += c;
        switch (delimiter_) {
        case Delimiter::Etx:
        case Delimiter::Cr:
        case Delimiter::Lf:
            if (c == delimiter_bytes(delimiter_)[0]) {
                partial_.pop_back();
                finish(out);
            }
            break;
        case Delimiter::CrLf:
            if (c == '\n' && partial_.size() >= 2 && partial_[partial_.size() - 2] == '\r') {
                partial_.resize(partial_.size() - 2);
                finish(out);
            }
            break;
        case Delimiter::None:
            break;
        }
        if (partial_.size() >= kMaxCommand)
            finish(out);
    }
    return out;
}

std::optional<std::int64_t> CommandFramer::idle_deadline() const {
    if (delimiter_ != Delimiter::None || partial_.empty())
        return std::nullopt;
    return last_byte_ms_ + idle_ms_;
}

std::optional<std::string> CommandFramer::flush_if_idle(std::int64_t now_ms) {
    const auto due = idle_deadline();
    if (!due || now_ms < *due)
        return std::nullopt;
    std::string cmd = std::move(partial_);
    partial_.clear();
    in_frame_ = false;
    return cmd;
}

} // namespace quvan::sim
