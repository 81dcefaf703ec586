#include "sim/sim_server.h"

#include "sim/wave_lines.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace quvan::sim {

namespace {
// Bytes a paced line holds between the sender and the board (a UART
// driver's queue).
constexpr std::size_t kPacedReceiveQueue = 4096;
std::int64_t now_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void note(const std::string& text) {
    std::cerr << "quvan-sim: " << text << std::endl;
}

// Files are replaced whole, so a crash never leaves half a flash file.
void write_file_atomically(const std::string& path, const std::string& text) {
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr) {
        note("cannot write " + tmp + ": " + std::strerror(errno));
        return;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), path.c_str()) != 0)
        note("cannot write " + path + ": " + std::strerror(errno));
}
} // namespace

SimServer::SimServer(SimOptions options, PtyPort& port)
    : options_(std::move(options)), port_(port), model_(options_.board),
      framer_(options_.expect_stx, options_.command_delimiter, options_.idle_ms),
      shaper_(options_.seed), faults_(options_.faults), tx_rate_(options_.baud),
      rx_rate_(options_.baud) {
    if (!options_.wire_log.empty() && !(wire_log_ = std::fopen(options_.wire_log.c_str(), "ab")))
        note("cannot open wire log " + options_.wire_log);
    if (!options_.fire_log.empty() && !(fire_log_ = std::fopen(options_.fire_log.c_str(), "ab")))
        note("cannot open fire log " + options_.fire_log);
    model_.on_fire = [this](const std::string& line) {
        if (fire_log_) {
            std::fprintf(fire_log_, "%s\n", line.c_str());
            std::fflush(fire_log_);
        }
    };
    if (!options_.flash_file.empty()) {
        if (std::FILE* f = std::fopen(options_.flash_file.c_str(), "rb")) {
            std::string text;
            char buf[4096];
            std::size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
                text.append(buf, n);
            std::fclose(f);
            if (!model_.load_flash_text(text))
                note("flash file " + options_.flash_file + " is not valid; starting empty");
        }
        model_.on_flash_write = [path = options_.flash_file](const std::string& text) {
            write_file_atomically(path, text);
        };
    }
    if (!options_.firmware_out.empty()) {
        model_.on_firmware = [path = options_.firmware_out](const HexImage& hex) {
            const FirmwareImage image = firmware_image(hex);
            write_file_atomically(path, image.bytes);
            char base[16];
            std::snprintf(base, sizeof base, "0x%08X", static_cast<unsigned>(image.base));
            note("firmware image of " + std::to_string(image.bytes.size()) + " bytes from " + base +
                 " written to " + path);
        };
    }
    PressRequest nec;
    nec.code = {0x20, 0xDF, 0x10, 0xEF};
    flood_pulses_ = std::get<Capture>(press_capture(nec, false, 500)).pulses;
}

SimServer::~SimServer() {
    for (int fd : {control_fd_, control_keepalive_fd_})
        if (fd > 0)
            ::close(fd);
    if (!created_fifo_.empty())
        ::unlink(created_fifo_.c_str());
    if (wire_log_)
        std::fclose(wire_log_);
    if (fire_log_)
        std::fclose(fire_log_);
}

void SimServer::add_control_lines(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        control_lines_.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string SimServer::open_control() {
    const std::string& path = options_.control_path;
    if (path.empty())
        return {};
    if (path == "-") {
        control_fd_ = 0;
        return {};
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (mkfifo(path.c_str(), 0600) != 0)
            return "mkfifo " + path + ": " + std::strerror(errno);
        created_fifo_ = path;
    }
    control_fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (control_fd_ < 0)
        return "open " + path + ": " + std::strerror(errno);
    // Holding a writer ourselves keeps the FIFO from reporting end-of-file
    // (and poll from waking up for nothing) between two writers.
    control_keepalive_fd_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    return {};
}

void SimServer::handle_received(std::string_view bytes, std::int64_t now) {
    if (wire_log_) {
        std::fwrite(bytes.data(), 1, bytes.size(), wire_log_);
        std::fflush(wire_log_);
    }
    for (const auto& command : framer_.feed(bytes, now))
        handle_command(command, now);
}

void SimServer::handle_command(const std::string& command, std::int64_t now) {
    if (done_)
        return;
    BoardOutputs outputs = model_.handle_command(command, now);
    if (faults_.ignores(command))
        outputs.clear();
    enqueue(outputs, now + faults_.delay_ms);
    if (faults_.loader_hangup_after >= 0 && model_.mode() == BoardMode::Loader &&
        model_.loader_records() >= faults_.loader_hangup_after) {
        note("hanging up after " + std::to_string(model_.loader_records()) + " records");
        done_ = true; // nothing more reaches the tool: the line simply goes
    }
}

void SimServer::enqueue(const BoardOutputs& outputs, std::int64_t due) {
    for (const auto& o : outputs)
        out_.push_back(
            {due, shaper_.shape(o, options_.line_end, faults_), o.kind == BoardOutput::Kind::Line});
}

void SimServer::run_control(std::int64_t now) {
    while (!done_ && !control_lines_.empty() && now >= control_resume_) {
        const std::string line = control_lines_.front();
        control_lines_.pop_front();
        auto parsed = parse_control_line(line);
        if (auto* error = std::get_if<std::string>(&parsed)) {
            note("control: " + *error);
            continue;
        }
        execute(std::get<ControlCommand>(parsed), now);
    }
}

void SimServer::execute(const ControlCommand& c, std::int64_t now) {
    using K = ControlCommand::Kind;
    switch (c.kind) {
    case K::Empty:
        break;
    case K::Press:
    case K::Raw: {
        if (model_.mode() != BoardMode::Analyze) {
            note("press ignored: the board is not learning (the tool has not sent \"A\")");
            break;
        }
        if (c.kind == K::Raw) {
            enqueue(model_.report_capture(raw_capture(c.raw.pulses, c.raw.carrier_tenths)), now);
            break;
        }
        PressRequest request = c.press;
        if (!c.press_has_seed)
            request.disturbance.seed = options_.seed + press_count_;
        ++press_count_;
        auto result = model_.press(request);
        if (auto* error = std::get_if<std::string>(&result))
            note("press: " + *error);
        else
            enqueue(model_.report_capture(std::get<Capture>(result)), now);
        break;
    }
    case K::Send:
        enqueue({{BoardOutput::Kind::Line, c.text}}, now);
        break;
    case K::SendHex:
        enqueue({{BoardOutput::Kind::Raw, c.text}}, now);
        break;
    case K::Flood:
        flood_remaining_ += c.number;
        break;
    case K::Hangup:
        note("hanging up");
        port_.drain(2000);
        done_ = true;
        break;
    case K::Fault:
        if (c.fault == "off") {
            Faults none;
            none.hangup_after = faults_.hangup_after;
            faults_ = none;
            model_.set_loader_silent(false);
            model_.set_loader_error_at(-1);
        } else if (c.fault == "loader-silent")
            model_.set_loader_silent(true);
        else if (c.fault == "loader-error")
            model_.set_loader_error_at(c.number);
        else if (c.fault == "loader-hangup")
            faults_.loader_hangup_after = c.number;
        else if (c.fault == "noack")
            faults_.no_ack = true;
        else if (c.fault == "cut")
            faults_.cut = true;
        else if (c.fault == "delay")
            faults_.delay_ms = static_cast<std::int32_t>(c.number);
        else if (c.fault == "garble")
            faults_.garble_percent = static_cast<int>(c.number);
        model_.set_ack_on_store(!faults_.no_ack);
        break;
    case K::Sleep:
        control_resume_ = now + c.number;
        break;
    case K::Dump:
        write_file_atomically(c.text, model_.memory_text());
        break;
    case K::Quit:
        done_ = true;
        break;
    }
}

void SimServer::refill_flood(std::int64_t now) {
    constexpr std::size_t kBatch = 256;
    if (flood_remaining_ == 0 || out_.size() >= kBatch)
        return;
    for (std::size_t i = 0; i < kBatch && flood_remaining_ > 0; ++i, --flood_remaining_) {
        const std::size_t index = flood_index_++ % kMaxCapturePulses;
        const Pulse& p = flood_pulses_[index % flood_pulses_.size()];
        enqueue({{BoardOutput::Kind::Line, wave_line(index, p)}}, now);
    }
}

bool SimServer::tx_backlog() const {
    return !out_.empty() && tx_rate_.limited() &&
           (out_offset_ > 0 || out_.front().due * 1000 <= tx_rate_.free_at());
}

bool SimServer::write_due(std::int64_t now, std::int64_t now_us) {
    while (!out_.empty() && out_.front().due <= now) {
        // A paced line takes only so many bytes at a time.
        const bool backlog = tx_backlog();
        std::int64_t budget = tx_rate_.budget(now_us, backlog);
        if (budget <= 0)
            return true;
        iovec iov[64];
        int count = 0;
        // Nothing beyond the line that triggers a hang-up may reach the tool.
        std::int64_t lines_left =
            faults_.hangup_after >= 0 ? faults_.hangup_after - lines_sent_ : INT64_MAX;
        for (auto it = out_.begin(); it != out_.end() && count < 64 && it->due <= now; ++it) {
            if (lines_left <= 0 || budget <= 0)
                break;
            const std::size_t skip = count == 0 ? out_offset_ : 0;
            const std::size_t length =
                std::min<std::size_t>(it->bytes.size() - skip, static_cast<std::size_t>(budget));
            iov[count].iov_base = it->bytes.data() + skip;
            iov[count].iov_len = length;
            budget -= static_cast<std::int64_t>(length);
            ++count;
            if (it->is_line)
                --lines_left;
        }
        if (count == 0)
            return true;
        const ssize_t written = ::writev(port_.master_fd(), iov, count);
        if (written < 0)
            return errno == EAGAIN || errno == EINTR;
        tx_rate_.consume(written, now_us, backlog);
        std::size_t left = static_cast<std::size_t>(written);
        while (!out_.empty() && left >= out_.front().bytes.size() - out_offset_) {
            left -= out_.front().bytes.size() - out_offset_;
            const bool line = out_.front().is_line;
            out_.pop_front();
            out_offset_ = 0;
            if (line && ++lines_sent_ == faults_.hangup_after) {
                note("hanging up after " + std::to_string(lines_sent_) + " lines");
                return false;
            }
        }
        out_offset_ += left;
        if (out_offset_ > 0)
            return true; // the line is full (or paced); wait until it takes more
    }
    return true;
}

void SimServer::receive(std::string_view bytes, std::int64_t now_us) {
    if (!rx_rate_.limited()) {
        handle_received(bytes, now_us / 1000);
        return;
    }
    // Each byte is taken only once it would have crossed the line.
    for (char byte : bytes)
        arriving_.push_back({rx_rate_.arrival_of_next(now_us), byte});
}

void SimServer::release_received(std::int64_t now_us) {
    std::string bytes;
    while (!arriving_.empty() && arriving_.front().at_us <= now_us) {
        bytes.push_back(arriving_.front().byte);
        arriving_.pop_front();
    }
    if (!bytes.empty())
        handle_received(bytes, now_us / 1000);
}

std::int64_t SimServer::wait_us(std::int64_t now_us) const {
    std::int64_t wait = static_cast<std::int64_t>(poll_timeout(now_us / 1000)) * 1000;
    if (!arriving_.empty())
        wait = std::min(wait, arriving_.front().at_us - now_us);
    if (!out_.empty() && out_.front().due <= now_us / 1000 &&
        tx_rate_.budget(now_us, tx_backlog()) <= 0)
        wait = std::min(wait, tx_rate_.next_free(now_us) - now_us);
    return std::max<std::int64_t>(0, wait);
}

void SimServer::read_control() {
    char buf[4096];
    const ssize_t n = ::read(control_fd_, buf, sizeof buf);
    if (n == 0 && control_fd_ == 0) {
        control_fd_ = -1; // standard input ended; keep serving the board
        return;
    }
    if (n == 0 && control_keepalive_fd_ < 0) {
        // A plain file given as --control has been read to its end.
        ::close(control_fd_);
        control_fd_ = -1;
        return;
    }
    if (n <= 0)
        return;
    control_partial_.append(buf, static_cast<std::size_t>(n));
    std::size_t nl;
    while ((nl = control_partial_.find('\n')) != std::string::npos) {
        control_lines_.push_back(control_partial_.substr(0, nl));
        control_partial_.erase(0, nl + 1);
    }
}

int SimServer::poll_timeout(std::int64_t now) const {
    std::int64_t due = now + 60000;
    if (auto d = model_.next_deadline())
        due = std::min(due, *d);
    if (auto d = framer_.idle_deadline())
        due = std::min(due, *d);
    if (!control_lines_.empty())
        due = std::min(due, control_resume_);
    if (!out_.empty())
        due = std::min(due, out_.front().due);
    if (flood_remaining_ > 0 && out_.empty())
        due = now;
    return static_cast<int>(std::clamp<std::int64_t>(due - now, 0, 60000));
}

int SimServer::run(volatile const int& stop_requested) {
    if (faults_.hangup_after == 0)
        return 0;
    // SIGINT and SIGTERM are let through only while waiting in ppoll, so a
    // stop request can never slip in between the check and the wait.
    sigset_t stop_signals, outside_wait, during_wait;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stop_signals, &outside_wait);
    during_wait = outside_wait;
    sigdelset(&during_wait, SIGINT);
    sigdelset(&during_wait, SIGTERM);

    while (!done_ && !stop_requested) {
        std::int64_t clock_us = now_us();
        std::int64_t now = clock_us / 1000;
        release_received(clock_us);
        enqueue(model_.advance(now), now + faults_.delay_ms);
        if (auto command = framer_.flush_if_idle(now))
            handle_command(*command, now);
        run_control(now);
        if (done_)
            break;
        refill_flood(now);
        if (!write_due(now, clock_us)) {
            port_.drain(2000);
            break;
        }

        pollfd fds[2];
        // A paced line takes the sender's bytes no faster than it carries
        // them: once a driver queue's worth is on its way, the sender waits
        // (its writes block) as it would on a real port.
        const bool rx_room = !rx_rate_.limited() || arriving_.size() < kPacedReceiveQueue;
        fds[0] = {port_.master_fd(), static_cast<short>(rx_room ? POLLIN : 0), 0};
        if (!out_.empty() && out_.front().due <= now && tx_rate_.budget(clock_us, tx_backlog()) > 0)
            fds[0].events |= POLLOUT;
        nfds_t nfds = 1;
        if (control_fd_ >= 0) {
            fds[1] = {control_fd_, POLLIN, 0};
            nfds = 2;
        }
        const std::int64_t timeout = wait_us(clock_us);
        const timespec wait{static_cast<time_t>(timeout / 1000000),
                            static_cast<long>((timeout % 1000000) * 1000)};
        const int ready = ::ppoll(fds, nfds, &wait, &during_wait);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            note(std::string("poll: ") + std::strerror(errno));
            exit_code_ = 1;
            break;
        }
        clock_us = now_us();
        if (fds[0].revents & (POLLERR | POLLNVAL)) {
            note("the pseudo-terminal failed");
            exit_code_ = 1;
            break;
        }
        if (fds[0].revents & POLLIN) {
            char buf[4096];
            const ssize_t n = ::read(port_.master_fd(), buf, sizeof buf);
            if (n > 0)
                receive(std::string_view(buf, static_cast<std::size_t>(n)), clock_us);
        }
        if (nfds == 2 && (fds[1].revents & (POLLIN | POLLHUP)))
            read_control();
    }
    if (stop_requested && !done_)
        take_sent_commands();
    sigprocmask(SIG_SETMASK, &outside_wait, nullptr);
    return exit_code_;
}

void SimServer::take_sent_commands() {
    std::string bytes;
    for (const auto& a : arriving_)
        bytes.push_back(a.byte);
    arriving_.clear();
    char buf[4096];
    pollfd p{port_.master_fd(), POLLIN, 0};
    while (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
        const ssize_t n = ::read(port_.master_fd(), buf, sizeof buf);
        if (n <= 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    if (!bytes.empty())
        handle_received(bytes, now_us() / 1000);
}

} // namespace quvan::sim
