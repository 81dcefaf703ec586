#include "sim/sim_options.h"

#include "sim/text_number.h"

namespace quvan::sim {

const char* help_text() {
    return R"(quvan-sim - a stand-in for the QUVAN-ARM / QUVAN-Pro board on a pseudo-terminal

Usage: quvan-sim [options]

The first line on standard output is "PTY <path>" with the path of the
pseudo-terminal to open as the board's serial port. Notes go to standard
error. The simulator runs until it is told to quit, is hung up, or gets
SIGINT/SIGTERM.

Board:
  --std                 standard edition: version line "QUVAN-ARM <version>" (default)
  --pro                 Pro edition: version line "QUVAN-Pro <version>"
  --version TEXT        version text (default "Ver.20251223")
  --flash FILE          entry memory and DIP switches: loaded at start if the file
                        exists, written by "Tws:FlashWrite" and when new DIP switch
                        settings take effect at "Reset"
  --auto-learn          about 700 ms after each "A"/"A:Pro"/"A:pro" send a capture of
                        a built-in remote code (NEC, Sony 12, Kaseikyo, Samsung, JVC,
                        RC5, NEC extended, Sharp, in turn)
  --loader-dots         the loader sends "." (no line end) after each accepted record
  --firmware-out FILE   write the image of each completed download to FILE: the bytes
                        from the lowest address written to the highest, gaps 0xFF
  --seed N              seed of every random choice (jitter, garble, cut); default 1

Framing:
  --head NAME           head byte expected before each command: STX, or none (default;
                        also spelt as in the tool's settings)
  --dlmt NAME           delimiter ending each command: ETX, CR, LF, CRLF (default) or
                        none (a command then ends after --idle ms of silence)
  --idle MS             silence that ends a command when --dlmt none (default 50)
  --line-end NAME       what ends each line the board sends: CRLF (default), CR, LF,
                        ETX or none
  --baud N              pace both directions like a serial line at N baud (10 bits a
                        byte): replies leave and commands are taken no faster (a
                        sender more than 4 KiB ahead waits); default 0, as fast as
                        the pseudo-terminal goes

Logs:
  --fire-log FILE       append one line per fire ("Tf:" or "Tm:")
  --wire-log FILE       append every byte the board receives, unchanged
  --link PATH           make a symbolic link PATH to the pseudo-terminal (removed at exit)

Faults:
  --no-ack              do not answer "ACK" to "Tws:NNN" (the entry is still stored)
  --ignore PREFIX       commands beginning with PREFIX take effect but get no answer
                        (repeatable), e.g. --ignore ZEM:off or --ignore Twl:
  --delay MS            wait MS before every reply
  --garble PCT          change each byte of a sent line with PCT % chance
  --cut                 lines lose their line end or are cut short
  --hangup-after N      close the line and exit after N lines have been sent
  --loader-silent       the loader does not announce itself after "Reset" (it still
                        starts the application when nobody talks to it)
  --loader-error-at N   the loader answers the N-th record of a download with an
                        error line instead of writing it
  --loader-hangup-after N
                        close the line and exit once the loader has received N records

Control:
  --control PATH        read control commands from the FIFO PATH (created if missing,
                        and then removed at exit), or from standard input with "-"
  --script FILE         run the control commands of FILE at start
  --help                this text

Control commands, one per line (blank lines and lines starting with # are skipped):
  press FORMAT CODE [hold=MS] [jitter=PCT] [bias=US] [carrier=KHZ] [seed=N]
        a button press, reported as a capture while the board is learning (after
        "A"); ignored with a note otherwise. hold: how long the button is held
        (default 600); jitter: every duration changed by up to +-PCT %; bias: marks
        longer and the following spaces shorter by US; carrier: e.g. 36.7.
        FORMAT and CODE (hex bytes, in the order the remote sends them):
          nec         ADDR CMD (inverses added) or all 4 bytes, e.g. 20DF10EF
          necx        ADDR-LOW ADDR-HIGH CMD (inverse added) or all 4 bytes
          nec-frames  as nec; the full frame repeats instead of repeat codes
          sony12      CMD (7 bits) ADDR (5 bits), e.g. 1501
          sony15      CMD (7 bits) ADDR (8 bits)
          sony20      CMD (7 bits) ADDR (5 bits) EXTENDED (8 bits)
          kaseikyo    the 6 bytes, e.g. 022080003DBD
          samsung     ADDR CMD (address twice, inverse command) or all 4 bytes
          jvc         ADDR CMD
          sharp       ADDR (5 bits) CMD (8 bits); each frame is followed by its
                      inverted twin
          rc5         ADDR (5 bits) CMD (7 bits); the toggle bit flips every press
          rc6         ADDR CMD, mode 0; the toggle bit flips every press
  raw H/W H/W ... [carrier=KHZ]
        a capture of exactly these pulses (mark/period in us; default 38.0 kHz)
  send TEXT        send TEXT as a line (with the line end)
  sendhex HEX...   send raw bytes, e.g. "sendhex 06"
  flood N          send N wave lines as fast as the line takes them
  hangup           close the line and exit
  fault noack|delay MS|garble PCT|cut|loader-silent|loader-error N|loader-hangup N|off
                   switch a fault on; "off" clears them all
  sleep MS         wait before the next command
  dump FILE        write the entry memory as it is now (entries stored since the
                   last "Tws:FlashWrite" included) to FILE, in the --flash format
  quit             exit
)";
}

namespace {
std::optional<std::string> line_end_bytes(std::string_view name) {
    if (name == "none")
        return std::string();
    const auto d = parse_delimiter_name(name);
    if (!d || name.empty())
        return std::nullopt;
    return delimiter_bytes(*d);
}
} // namespace

std::variant<SimOptions, std::string> parse_options(const std::vector<std::string>& args) {
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        const auto number = [&](std::int64_t min, std::int64_t max) -> std::optional<int> {
            const auto v = value();
            const auto n = v ? parse_decimal(*v) : std::nullopt;
            if (!n || *n < min || *n > max)
                return std::nullopt;
            return n;
        };
        const auto text_into = [&](std::string& field) {
            auto v = value();
            if (v)
                field = *v;
            return v.has_value();
        };
        bool ok = true;
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--pro")
            o.board.pro = true;
        else if (a == "--std")
            o.board.pro = false;
        else if (a == "--version")
            ok = text_into(o.board.version);
        else if (a == "--flash")
            ok = text_into(o.flash_file);
        else if (a == "--fire-log")
            ok = text_into(o.fire_log);
        else if (a == "--wire-log")
            ok = text_into(o.wire_log);
        else if (a == "--firmware-out")
            ok = text_into(o.firmware_out);
        else if (a == "--loader-silent")
            o.board.loader_silent = true;
        else if (a == "--link")
            ok = text_into(o.link_path);
        else if (a == "--control")
            ok = text_into(o.control_path);
        else if (a == "--script")
            ok = text_into(o.script_path);
        else if (a == "--auto-learn")
            o.board.auto_learn = true;
        else if (a == "--loader-dots")
            o.board.loader_dots = true;
        else if (a == "--no-ack")
            o.faults.no_ack = true;
        else if (a == "--ignore") {
            const auto v = value();
            ok = v.has_value() && !v->empty();
            if (ok)
                o.faults.ignored_prefixes.emplace_back(*v);
        } else if (a == "--cut")
            o.faults.cut = true;
        else if (a == "--head") {
            const auto v = value();
            const auto stx = v ? parse_head_name(*v) : std::nullopt;
            ok = stx.has_value();
            o.expect_stx = stx.value_or(false);
        } else if (a == "--dlmt") {
            const auto v = value();
            const auto d = v ? parse_delimiter_name(*v) : std::nullopt;
            ok = d.has_value() && !v->empty();
            o.command_delimiter = d.value_or(Delimiter::CrLf);
        } else if (a == "--line-end") {
            const auto v = value();
            const auto bytes = v ? line_end_bytes(*v) : std::nullopt;
            ok = bytes.has_value();
            o.line_end = bytes.value_or("\r\n");
        } else if (a == "--seed") {
            const auto n = number(0, 2147483647);
            ok = n.has_value();
            o.seed = static_cast<std::uint32_t>(n.value_or(1));
        } else if (a == "--baud") {
            const auto n = number(0, 12000000);
            ok = n.has_value();
            o.baud = n.value_or(0);
        } else if (a == "--idle") {
            const auto n = number(1, 60000);
            ok = n.has_value();
            o.idle_ms = n.value_or(50);
        } else if (a == "--delay") {
            const auto n = number(0, 600000);
            ok = n.has_value();
            o.faults.delay_ms = n.value_or(0);
        } else if (a == "--garble") {
            const auto n = number(0, 100);
            ok = n.has_value();
            o.faults.garble_percent = n.value_or(0);
        } else if (a == "--loader-error-at") {
            const auto n = number(1, 2147483647);
            ok = n.has_value();
            o.board.loader_error_at = n.value_or(-1);
        } else if (a == "--loader-hangup-after") {
            const auto n = number(0, 2147483647);
            ok = n.has_value();
            o.faults.loader_hangup_after = n.value_or(-1);
        } else if (a == "--hangup-after") {
            const auto n = number(0, 2147483647);
            ok = n.has_value();
            o.faults.hangup_after = n.value_or(-1);
        } else
            return "unknown option " + a + " (see --help)";
        if (!ok)
            return "option " + a + " needs a valid value (see --help)";
    }
    o.board.ack_on_store = !o.faults.no_ack;
    return o;
}

} // namespace quvan::sim
