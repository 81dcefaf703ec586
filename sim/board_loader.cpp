// The resident loader: erase, then receive the firmware as Intel HEX
// records, one per command line.
#include "sim/board_model.h"

#include "sim/text_number.h"

namespace quvan::sim {

namespace {
BoardOutput line(std::string text) {
    return {BoardOutput::Kind::Line, std::move(text)};
}
constexpr std::string_view kEraseSuffix = ":Last Sector to Erase";
} // namespace

BoardOutputs BoardModel::loader_command(std::string_view cmd, std::int64_t now) {
    // A download in progress keeps the loader from handing over; other
    // texts (an application command sent too early) do not.
    const bool loader_talk =
        cmd.ends_with(kEraseSuffix) || cmd == "Download Ready ?" || cmd.front() == ':';
    if (loader_talk)
        cancel(Timer::LoaderIdle);

    if (cmd == "Reset") {
        timers_.clear();
        schedule(Timer::StartApplication, now + config_.reset_pause_ms);
        return {};
    }
    if (cmd.ends_with(kEraseSuffix)) {
        const auto sector = parse_decimal(cmd.substr(0, cmd.size() - kEraseSuffix.size()));
        if (!sector || *sector < 2 || *sector > 7)
            return {line("Erase error: no sector " + std::string(cmd.substr(0, cmd.find(':'))))};
        hex_.clear();
        loader_ready_ = false;
        loader_records_ = 0;
        return {line("FLASH Sector:2-" + std::to_string(*sector) + " Erased")};
    }
    if (cmd == "Download Ready ?") {
        loader_ready_ = true;
        return {line("Please send the HEX file")};
    }
    if (cmd.front() == ':') {
        ++loader_records_;
        if (!loader_ready_)
            return {line("Record error: not ready for a download")};
        if (loader_records_ == config_.loader_error_at)
            return {line("Record error: flash write failed (simulated fault)")};
        const HexParse parsed = parse_hex_record(cmd);
        if (!parsed.record)
            return {line("Record error: " + parsed.error)};
        switch (hex_.apply(*parsed.record)) {
        case HexImage::Result::Error:
            return {line("Record error: record after the end of file")};
        case HexImage::Result::EndOfFile: {
            loader_ready_ = false;
            if (on_firmware)
                on_firmware(hex_);
            BoardOutputs out;
            if (config_.loader_dots)
                out.push_back({BoardOutput::Kind::Raw, "."});
            out.push_back(
                line("Download Completed " + std::to_string(hex_.bytes().size()) + " bytes"));
            return out;
        }
        case HexImage::Result::Accepted:
            if (config_.loader_dots)
                return {{BoardOutput::Kind::Raw, "."}};
            return {};
        }
    }
    return {line("?")};
}

FirmwareImage firmware_image(const HexImage& hex) {
    FirmwareImage image;
    if (hex.bytes().empty())
        return image;
    image.base = hex.bytes().begin()->first;
    const std::uint32_t last = hex.bytes().rbegin()->first;
    image.bytes.assign(static_cast<std::size_t>(last - image.base) + 1, '\xFF');
    for (const auto& [address, byte] : hex.bytes())
        image.bytes[address - image.base] = static_cast<char>(byte);
    return image;
}

} // namespace quvan::sim
