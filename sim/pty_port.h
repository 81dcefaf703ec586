#pragma once
// The pseudo-terminal that stands in for the board's serial line. The
// simulator keeps the slave side open itself, so that the master never
// sees a hang-up when the tool closes and reopens the port.

#include <string>

namespace quvan::sim {

class PtyPort {
  public:
    PtyPort() = default;
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;
    ~PtyPort();

    // Opens master and slave, puts the slave into raw mode (bytes pass
    // unchanged, no echo) and the master into non-blocking mode. Returns
    // an error text, or an empty string on success.
    std::string open();
    void close();

    // Bytes written to the tool that it has not read yet.
    int unread_by_tool() const;
    // Waits (up to timeout_ms) until the tool has read everything, so that a
    // hang-up does not swallow the lines sent just before it.
    void drain(int timeout_ms) const;

    int master_fd() const { return master_; }
    const std::string& slave_path() const { return slave_path_; }

  private:
    int master_ = -1;
    int held_slave_ = -1;
    std::string slave_path_;
};

} // namespace quvan::sim
