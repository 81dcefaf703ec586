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
        return {line("FLASH Sector:2-" + std::to_string(*sector) + " Erased")};
    }
    if (cmd == "Download Ready ?") {
        loader_ready_ = true;
        return {line("Please send the HEX file")};
    }
    if (cmd.front() == ':') {
        if (!loader_ready_)
            return {line("Record error: not ready for a download")};
        const HexParse parsed = parse_hex_record(cmd);
        if (!parsed.record)
            return {line("Record error: " + parsed.error)};
        switch (hex_.apply(*parsed.record)) {
        case HexImage::Result::Error:
            return {line("Record error: record after the end of file")};
        case HexImage::Result::EndOfFile: {
            loader_ready_ = false;
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

} // namespace quvan::sim
