#pragma once
// The simulated board as pure logic: one received command in, the lines
// and bytes to send back out. Time is passed in, so that the pauses and
// timers of the board can be tested without waiting.

#include "sim/board_entry.h"
#include "sim/dip_switches.h"
#include "sim/intel_hex.h"
#include "sim/remote_press.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::sim {

struct BoardOutput {
    enum class Kind {
        Line, // text; the transport adds the configured line end
        Raw,  // bytes sent exactly as they are
    };
    Kind kind = Kind::Line;
    std::string text;
    bool operator==(const BoardOutput&) const = default;
};
using BoardOutputs = std::vector<BoardOutput>;

struct BoardConfig {
    bool pro = false;
    std::string version = "Ver.20251223";
    bool auto_learn = false;
    bool loader_dots = false; // a "." after every accepted HEX record
    bool ack_on_store = true; // false: the "no ACK" fault
    std::int32_t reset_pause_ms = 300;
    std::int32_t auto_learn_delay_ms = 700;
    // The loader starts the application again when nobody talks to it.
    std::int32_t loader_idle_ms = 2000;
    // Loader faults: no announcement after "Reset" (the loader still hands
    // over to the application when nobody talks to it), and the N-th record
    // of a download answered with an error line instead of being written.
    bool loader_silent = false;
    std::int64_t loader_error_at = -1; // -1: never
};

// The flash image of the last completed download as one block: the bytes
// from the lowest address written to the highest, gaps left erased (0xFF).
struct FirmwareImage {
    std::uint32_t base = 0;
    std::string bytes;
};
FirmwareImage firmware_image(const HexImage& hex);

enum class BoardMode { Trans, Analyze, Loader };
enum class IrEndMode { Ack, Crlf };

class BoardModel {
  public:
    explicit BoardModel(BoardConfig config = {});

    BoardOutputs handle_command(std::string_view command, std::int64_t now_ms);
    // Runs the timers that are due (loader banner, restart, auto-learn).
    BoardOutputs advance(std::int64_t now_ms);
    std::optional<std::int64_t> next_deadline() const;

    // A capture is only reported while learning (Analyze mode); otherwise
    // nothing is returned.
    BoardOutputs report_capture(const Capture& capture) const;
    std::variant<Capture, std::string> press(const PressRequest& request);

    // Hooks for the outside world (files); both optional.
    std::function<void(const std::string&)> on_flash_write; // full flash text
    std::function<void(const std::string&)> on_fire;        // one fire-log line
    // A download has completed with the end-of-file record.
    std::function<void(const HexImage&)> on_firmware;

    // The flash file: entries and DIP switches as text, and back.
    std::string flash_text() const;
    // The same text for the entry memory as it is now, flash-written or not.
    std::string memory_text() const;
    bool load_flash_text(std::string_view text);

    BoardMode mode() const { return mode_; }
    IrEndMode ir_end_mode() const { return ir_end_; }
    bool pro() const { return config_.pro; }
    bool zem() const { return zem_; }
    bool rf_id() const { return rf_id_; }
    std::int32_t learn_end_ms() const { return learn_end_ms_; }
    const BoardEntry& entry(int n) const { return entries_.at(n - 1); }
    bool entry_used(int n) const { return used_.at(n - 1); }
    const DipSwitches& dip() const { return dip_; }
    const HexImage& hex_image() const { return hex_; }
    // Records received since the last erase, good or bad.
    std::int64_t loader_records() const { return loader_records_; }
    void set_ack_on_store(bool on) { config_.ack_on_store = on; }
    void set_loader_silent(bool on) { config_.loader_silent = on; }
    void set_loader_error_at(std::int64_t record) { config_.loader_error_at = record; }
    std::string version_line() const;

  private:
    enum class Timer { Banner, StartApplication, AutoLearn, LoaderIdle };
    struct PendingTimer {
        std::int64_t due;
        Timer timer;
    };

    BoardOutputs application_command(std::string_view cmd, std::int64_t now);
    BoardOutputs loader_command(std::string_view cmd, std::int64_t now);
    BoardOutputs store_entry(std::string_view arg);
    BoardOutputs read_entry(std::string_view arg) const;
    BoardOutputs fire_staged(std::string_view frames);
    BoardOutputs fire_by_format(std::string_view command);
    BoardOutputs completion() const;
    BoardOutputs start_learning(std::int64_t now);
    void schedule(Timer t, std::int64_t due);
    void cancel(Timer t);
    void persist();
    std::string memory_text_of(const std::vector<BoardEntry>& entries,
                               const std::vector<bool>& used) const;

    BoardConfig config_;
    BoardMode mode_ = BoardMode::Trans;
    IrEndMode ir_end_ = IrEndMode::Ack;
    bool zem_ = false;
    bool rf_id_ = false;
    std::int32_t learn_end_ms_ = 500;
    std::string outputs_ = "1111"; // IR1..IR4 selected by "Tp:"
    std::vector<BoardEntry> entries_;
    std::vector<bool> used_;
    std::vector<BoardEntry> flashed_entries_;
    std::vector<bool> flashed_used_;
    BoardEntry staging_;
    DipSwitches dip_;
    HexImage hex_;
    bool loader_ready_ = false; // "Download Ready ?" seen: records may come
    std::int64_t loader_records_ = 0;
    std::size_t demo_next_ = 0;
    bool toggle_ = false;
    std::vector<PendingTimer> timers_;
};

} // namespace quvan::sim
