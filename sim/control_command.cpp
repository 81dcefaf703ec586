#include "sim/control_command.h"

#include "sim/text_number.h"

#include <algorithm>
#include <vector>

namespace quvan::sim {

namespace {
std::vector<std::string_view> split_words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t')
            ++j;
        if (j > i)
            words.push_back(s.substr(i, j - i));
        i = j;
    }
    return words;
}

std::optional<std::int64_t> non_negative(std::string_view s) {
    const auto v = parse_decimal(s);
    if (!v || *v < 0)
        return std::nullopt;
    return *v;
}

std::string_view rest_after(std::string_view line, std::string_view word) {
    const std::size_t at = line.find(word) + word.size();
    std::string_view rest = line.substr(std::min(at + 1, line.size()));
    return rest;
}

// key=value options of press and raw.
std::optional<std::string> apply_option(ControlCommand& c, std::string_view word) {
    const std::size_t eq = word.find('=');
    if (eq == std::string_view::npos)
        return "expected key=value, got " + std::string(word);
    const std::string_view key = word.substr(0, eq);
    const std::string_view value = word.substr(eq + 1);
    if (key == "carrier") {
        const auto khz = parse_khz(value);
        if (!khz)
            return "carrier wants kHz such as 38.0";
        c.press.carrier_tenths = *khz;
        c.raw.carrier_tenths = *khz;
        return std::nullopt;
    }
    if (c.kind == ControlCommand::Kind::Press) {
        const auto v = parse_decimal(value);
        if (key == "hold" && v && *v >= 0) {
            c.press.hold_ms = *v;
            return std::nullopt;
        }
        if (key == "jitter" && v && *v >= 0 && *v < 100) {
            c.press.disturbance.jitter_percent = *v;
            return std::nullopt;
        }
        if (key == "bias" && v) {
            c.press.disturbance.mark_bias_us = *v;
            return std::nullopt;
        }
        if (key == "seed" && v && *v >= 0) {
            c.press.disturbance.seed = static_cast<std::uint32_t>(*v);
            c.press_has_seed = true;
            return std::nullopt;
        }
    }
    return "bad option " + std::string(word);
}
} // namespace

std::optional<std::int32_t> parse_khz(std::string_view text) {
    const std::size_t dot = text.find('.');
    const auto whole = parse_decimal(text.substr(0, dot));
    if (!whole || *whole < 0 || *whole > 999)
        return std::nullopt;
    int tenth = 0;
    if (dot != std::string_view::npos) {
        const std::string_view frac = text.substr(dot + 1);
        if (frac.size() != 1 || frac[0] < '0' || frac[0] > '9')
            return std::nullopt;
        tenth = frac[0] - '0';
    }
    return *whole * 10 + tenth;
}

std::variant<ControlCommand, std::string> parse_control_line(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    const auto words = split_words(line);
    ControlCommand c;
    if (words.empty() || words[0].front() == '#')
        return c;
    const std::string_view verb = words[0];
    const auto want_args = [&](std::size_t n) { return words.size() == n + 1; };

    if (verb == "press") {
        c.kind = ControlCommand::Kind::Press;
        if (words.size() < 3)
            return std::string("press FORMAT CODE [hold=MS] [jitter=PCT] [bias=US] [carrier=KHZ]");
        const auto format = parse_format_name(words[1]);
        if (!format)
            return "unknown format " + std::string(words[1]);
        const auto code = parse_hex_bytes(words[2]);
        if (!code)
            return "CODE must be hex bytes, e.g. 20DF10EF";
        c.press.format = *format;
        c.press.code = *code;
        for (std::size_t i = 3; i < words.size(); ++i)
            if (auto error = apply_option(c, words[i]))
                return *error;
        return c;
    }
    if (verb == "raw") {
        c.kind = ControlCommand::Kind::Raw;
        c.raw.carrier_tenths = 380;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::string_view w = words[i];
            const std::size_t slash = w.find('/');
            if (slash == std::string_view::npos) {
                if (auto error = apply_option(c, w))
                    return *error;
                continue;
            }
            const auto high = parse_decimal(w.substr(0, slash));
            const auto width = parse_decimal(w.substr(slash + 1));
            if (!high || !width || *high <= 0 || *width < *high)
                return "raw pairs are HIGH/WIDTH in µs with WIDTH >= HIGH, got " + std::string(w);
            c.raw.pulses.push_back({*high, *width});
        }
        if (c.raw.pulses.empty())
            return std::string("raw H/W H/W ... [carrier=KHZ]");
        return c;
    }
    if (verb == "send") {
        c.kind = ControlCommand::Kind::Send;
        c.text = std::string(rest_after(line, verb));
        return c;
    }
    if (verb == "sendhex") {
        c.kind = ControlCommand::Kind::SendHex;
        std::string digits;
        for (std::size_t i = 1; i < words.size(); ++i)
            digits += words[i];
        const auto bytes = parse_hex_bytes(digits);
        if (!bytes)
            return std::string(
                "sendhex wants hex bytes, e.g. sendhex 06 or sendhex 41 43 4B 0D 0A");
        c.text.assign(bytes->begin(), bytes->end());
        return c;
    }
    if (verb == "flood" || verb == "sleep") {
        c.kind = verb == "flood" ? ControlCommand::Kind::Flood : ControlCommand::Kind::Sleep;
        const auto n = want_args(1) ? non_negative(words[1]) : std::nullopt;
        if (!n)
            return std::string(verb) + (verb == "flood" ? " N" : " MS");
        c.number = *n;
        return c;
    }
    if (verb == "dump") {
        c.kind = ControlCommand::Kind::Dump;
        c.text = std::string(rest_after(line, verb));
        if (c.text.empty())
            return std::string("dump FILE");
        return c;
    }
    if (verb == "hangup" || verb == "quit") {
        c.kind = verb == "hangup" ? ControlCommand::Kind::Hangup : ControlCommand::Kind::Quit;
        return c;
    }
    if (verb == "fault") {
        c.kind = ControlCommand::Kind::Fault;
        const std::string_view what = words.size() > 1 ? words[1] : std::string_view{};
        if ((what == "noack" || what == "cut" || what == "off" || what == "loader-silent") &&
            want_args(1)) {
            c.fault = std::string(what);
            return c;
        }
        if ((what == "delay" || what == "garble" || what == "loader-error" ||
             what == "loader-hangup") &&
            want_args(2)) {
            const auto n = non_negative(words[2]);
            if (n && (what != "garble" || *n <= 100)) {
                c.fault = std::string(what);
                c.number = *n;
                return c;
            }
        }
        return std::string(
            "fault noack|delay MS|garble PCT|cut|loader-silent|loader-error N|loader-hangup N|off");
    }
    return "unknown command " + std::string(verb);
}

} // namespace quvan::sim
