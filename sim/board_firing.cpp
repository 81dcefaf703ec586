// Firing: the staged record with "Tf:", or a format and code with "Tm:".
// Every fire is logged and answered with the completion code chosen by
// "IrEND:".
#include "sim/board_model.h"

#include "sim/text_number.h"

namespace quvan::sim {

namespace {
BoardOutput line(std::string text) {
    return {BoardOutput::Kind::Line, std::move(text)};
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
        s.remove_suffix(1);
    return s;
}
} // namespace

BoardOutputs BoardModel::completion() const {
    if (ir_end_ == IrEndMode::Ack)
        return {{BoardOutput::Kind::Raw, "\x06"}};
    return {{BoardOutput::Kind::Raw, "ACK\r\n"}};
}

BoardOutputs BoardModel::fire_staged(std::string_view frames_text) {
    const auto frames = parse_decimal(trim(frames_text));
    // Nothing to send: no count, or no signal described since start-up.
    if (!frames || *frames < 1 || staging_.carry <= 0 || staging_.data_bits <= 0 ||
        staging_.write_flag == kErasedWriteFlag)
        return {line("Tf:Error")};
    if (on_fire)
        on_fire("outputs=" + outputs_ + " frames=" + std::to_string(*frames) + " " +
                describe_entry(staging_));
    return completion();
}

BoardOutputs BoardModel::fire_by_format(std::string_view cmd) {
    const std::size_t d = cmd.find(",d:");
    const std::size_t f = cmd.find(",f:", d == std::string_view::npos ? 0 : d);
    if (d == std::string_view::npos || f == std::string_view::npos)
        return {line("Tm:Error")};
    const std::string_view name = trim(cmd.substr(3, d - 3));
    const std::string_view code = trim(cmd.substr(d + 3, f - d - 3));
    const auto frames = parse_decimal(trim(cmd.substr(f + 3)));
    if (name.empty() || !frames || *frames < 1)
        return {line("Tm:Error")};
    if (on_fire)
        on_fire("outputs=" + outputs_ + " frames=" + std::to_string(*frames) +
                " tm=" + std::string(name) + " code=" + std::string(code));
    return completion();
}

} // namespace quvan::sim
