#pragma once
// Serves the board model over the pseudo-terminal: one poll() loop that
// reads commands, runs the board's timers and the control channel, and
// writes replies as fast as the line takes them.

#include "sim/board_model.h"
#include "sim/command_framer.h"
#include "sim/control_command.h"
#include "sim/faults.h"
#include "sim/line_rate.h"
#include "sim/pty_port.h"
#include "sim/sim_options.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>

namespace quvan::sim {

class SimServer {
  public:
    SimServer(SimOptions options, PtyPort& port);
    ~SimServer();

    // Queues start-up commands (the --script file).
    void add_control_lines(const std::string& text);
    // Opens the control channel; returns an error text or "".
    std::string open_control();
    // Runs until quit, hang-up or a stop request; returns the exit code.
    int run(volatile const int& stop_requested);

  private:
    struct Outgoing {
        std::int64_t due;
        std::string bytes;
        bool is_line;
    };

    void handle_received(std::string_view bytes, std::int64_t now);
    void handle_command(const std::string& command, std::int64_t now);
    void enqueue(const BoardOutputs& outputs, std::int64_t due);
    void run_control(std::int64_t now);
    void execute(const ControlCommand& c, std::int64_t now);
    void refill_flood(std::int64_t now);
    bool write_due(std::int64_t now, std::int64_t now_us); // false when the line was hung up
    void receive(std::string_view bytes, std::int64_t now_us);
    void release_received(std::int64_t now_us);
    // Microseconds to wait in poll at most.
    std::int64_t wait_us(std::int64_t now_us) const;
    void read_control();
    int poll_timeout(std::int64_t now) const;

    // A received byte and the moment it has fully arrived over the paced line.
    struct Arriving {
        std::int64_t at_us;
        char byte;
    };

    SimOptions options_;
    PtyPort& port_;
    BoardModel model_;
    CommandFramer framer_;
    LineShaper shaper_;
    Faults faults_;
    std::deque<Outgoing> out_;
    std::size_t out_offset_ = 0; // bytes of out_.front() already written
    std::int64_t lines_sent_ = 0;
    std::int64_t flood_remaining_ = 0;
    std::size_t flood_index_ = 0;
    PulseList flood_pulses_;
    std::deque<std::string> control_lines_;
    std::string control_partial_;
    std::int64_t control_resume_ = 0;
    int control_fd_ = -1;
    int control_keepalive_fd_ = -1;
    std::string created_fifo_; // removed again at exit
    std::uint32_t press_count_ = 0;
    LineRate tx_rate_; // board to tool
    // Bytes to send were waiting when the line fell free (or a line is half
    // sent): the line stays busy even if the server wakes late.
    bool tx_backlog() const;
    // On a stop request: the commands the tool has already written are on
    // the wire, and a real board would still take them (a closing serial
    // port drains its output), so a last "Tws:FlashWrite" is not lost when
    // the tool exits right after sending it on a paced line.
    void take_sent_commands();
    LineRate rx_rate_; // tool to board
    std::deque<Arriving> arriving_;
    std::FILE* wire_log_ = nullptr;
    std::FILE* fire_log_ = nullptr;
    bool done_ = false;
    int exit_code_ = 0;
};

} // namespace quvan::sim
