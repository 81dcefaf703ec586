#pragma once
// Cuts the bytes the board receives into commands, by the head byte and
// delimiter the board is set up for (the same names as the tool's
// settings: head "STX" or none; delimiter "ETX", "CR", "LF", "CRLF" or none).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::sim {

enum class Delimiter { None, Etx, Cr, Lf, CrLf };

std::optional<Delimiter> parse_delimiter_name(std::string_view name);
// "STX" → true; "none", "無し" or "" → false; anything else → nullopt.
std::optional<bool> parse_head_name(std::string_view name);
// The bytes of a delimiter: "\x03", "\r", "\n", "\r\n" or "".
std::string delimiter_bytes(Delimiter d);

class CommandFramer {
  public:
    CommandFramer(bool expect_stx, Delimiter delimiter, std::int32_t idle_ms = 50);

    // Feeds received bytes; returns the commands they complete.
    std::vector<std::string> feed(std::string_view bytes, std::int64_t now_ms);
    // Without a delimiter a command ends when the line has been quiet for
    // idle_ms; returns it then.
    std::optional<std::string> flush_if_idle(std::int64_t now_ms);
    std::optional<std::int64_t> idle_deadline() const;

  private:
    void finish(std::vector<std::string>& out);

    bool expect_stx_;
    Delimiter delimiter_;
    std::int32_t idle_ms_;
    std::string partial_;
    bool in_frame_ = false; // with STX: a head byte has been seen
    std::int64_t last_byte_ms_ = 0;
};

} // namespace quvan::sim
