// The command-line session on a line that reports framing, parity or overrun
// errors: as in the window, nothing more goes out and the command ends as on
// a lost line, saying why.

#include "cli/board/board_session.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace quvan::cli {
namespace {

// A port whose status the test sets; its wait handle is a pipe that the
// test can make readable.
class ScriptedPort final : public platform::SerialPort {
  public:
    explicit ScriptedPort(platform::LineStatus& status, std::string& written)
        : status_(status), written_(written) {
        EXPECT_EQ(::pipe(pipe_), 0);
    }
    ~ScriptedPort() override {
        ::close(pipe_[0]);
        ::close(pipe_[1]);
    }
    void configure(const platform::LineSettings&) override {}
    platform::LineStatus status() override { return status_; }
    bool readByte(std::uint8_t& byte) override {
        byte = 'x';
        return true;
    }
    bool write(std::string_view frame) override {
        written_ += frame;
        return true;
    }
    void clearModemLines() override {}
    int waitHandle() const override { return pipe_[0]; }
    bool deviceGone() const override { return false; }
    const std::string& devicePath() const override { return path_; }
    void wake() { EXPECT_EQ(::write(pipe_[1], "!", 1), 1); }

  private:
    platform::LineStatus& status_;
    std::string& written_;
    int pipe_[2] = {-1, -1};
    std::string path_ = "/dev/scripted";
};

class ScriptedOpener final : public platform::SerialPortOpener {
  public:
    std::unique_ptr<platform::SerialPort> open(const std::string&, platform::OpenError*) override {
        auto port = std::make_unique<ScriptedPort>(status, written);
        last = port.get();
        return port;
    }
    platform::LineStatus status;
    std::string written;
    ScriptedPort* last = nullptr;
};

link::PortSettings Settings() {
    link::PortSettings settings;
    settings.PortName = "scripted";
    return settings;
}

TEST(BoardSessionLineErrors, AnErrorBeforeACommandStopsItAndIsNamed) {
    ScriptedOpener opener;
    BoardSession session(opener);
    ASSERT_TRUE(session.open(Settings(), nullptr));
    ASSERT_TRUE(session.send("Ver"));
    const std::string beforeError = opener.written;
    EXPECT_FALSE(beforeError.empty());
    EXPECT_EQ(session.lostText(), "the serial line was lost");

    opener.status.lineError = true;
    EXPECT_FALSE(session.send("Reset"));
    EXPECT_EQ(opener.written, beforeError); // "Reset" never went out
    EXPECT_TRUE(session.lost());
    EXPECT_NE(session.lostText().find("framing, parity or overrun"), std::string::npos);
    opener.status.lineError = false;
    EXPECT_FALSE(session.send("Ver")); // and nothing after it
}

TEST(BoardSessionLineErrors, AnErrorWhileReceivingEndsTheWaitAsALostLine) {
    ScriptedOpener opener;
    BoardSession session(opener);
    ASSERT_TRUE(session.open(Settings(), nullptr));
    opener.status.lineError = true;
    opener.status.bytesWaiting = 3;
    opener.last->wake();
    std::string line;
    EXPECT_EQ(session.readLine(line, std::chrono::milliseconds(2000)), BoardSession::Read::Lost);
    EXPECT_TRUE(line.empty()); // the garbled bytes are not handed on
    EXPECT_TRUE(session.lineErrorSeen());
}

} // namespace
} // namespace quvan::cli
