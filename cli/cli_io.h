#pragma once
// What the command-line tools need around their work: reading inputs a piece
// at a time (so a log of any size takes the same memory), writing standard
// output with every failure noticed, and messages that show hostile bytes
// safely on a terminal.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quvan::cli {

// `text` for a message: printable ASCII and well-formed UTF-8 as they are;
// every other byte (NUL and other controls, DEL, bytes that are not UTF-8)
// as "\xNN".
std::string Printable(std::string_view text);

// Reads the file at `path` ("-": standard input) in pieces of at most
// `pieceSize` bytes and hands each to `piece`. Stops early when `piece`
// returns false. Returns an empty text, or what failed, e.g.
// "cannot read logs: Is a directory" (the path made printable).
// The whole file at `path` ("-": standard input), for inputs that are read
// at once (signal files); nothing when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path);

std::string ReadInPieces(const std::string& path, std::size_t pieceSize,
                         const std::function<bool(std::string_view)>& piece);

// An output stream that remembers the first failed write (a full disk, a
// closed pipe) instead of losing it in a buffer.
class CheckedOutput {
  public:
    explicit CheckedOutput(std::FILE* file) : file_(file) {}
    // Writes unless an earlier write failed; false once one has.
    bool write(std::string_view bytes);
    // Flushes; false when any write failed. error() then says why.
    bool finish();
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

  private:
    void fail();
    std::FILE* file_;
    std::string error_;
};

} // namespace quvan::cli
