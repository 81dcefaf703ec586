// Feeds arbitrary board lines to a read-back session, with the waits ending
// at random, and checks what every read-back must leave behind: records the
// rest of the program can read without going past their ends, and a session
// that ends.

#include "table/learning_table.h"
#include "table/transfer/read_back_session.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace quvan;

void check(bool condition) {
    if (!condition)
        std::abort();
}

struct Quiet final : transfer::ReadBackEffects {
    bool flag = false;
    void sendCommand(const std::string&) override {}
    void setResponseFlag() override { flag = true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static LearningTable table(24);
    table.clearAll();
    Quiet effects;
    transfer::ReadBackOptions options;
    options.entries = 30; // more entries than rows: numbers past the table
    transfer::ReadBackSession session(table, options, effects);
    session.start();

    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty() && session.running()) {
        const std::size_t end = input.find('\n');
        const std::string line(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        // A line starting with a tab stands for a wait that ran out.
        if (!line.empty() && line.front() == '\t') {
            session.waitTimedOut();
            continue;
        }
        effects.flag = false;
        session.handleLine(line);
        if (effects.flag)
            session.replyArrived();
    }
    // However the lines went, the waits alone end it.
    for (int i = 0; i < options.entries + 2 && session.running(); ++i)
        session.waitTimedOut();
    check(!session.running());

    for (int row = 1; row <= table.rowCount(); ++row) {
        const LearnedSignal& r = table.record(row);
        check(r.DataBits >= 0 && r.DataBits <= kMaxPatternCodes);
        check(r.RepeatBit >= 0 && r.RepeatBit <= kMaxPatternCodes);
        for (std::uint8_t code : r.PatternCode)
            check(code < 16);
        (void)PatternCodeText(r);
    }
    return 0;
}
