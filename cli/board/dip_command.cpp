// quvan-board dip [--rs N] [--usb N] [--input contacts|binary] [--fire N]:
// prints the board's DIP switch settings, or changes the given ones and
// resets the board so they take effect. The queries, the replies and the
// commands are those of the DIP switch dialog.

#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"
#include "maintenance/dip_switches.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace quvan::cli {
namespace {

using maintenance::DipList;
using maintenance::DipSwitchState;

constexpr const char* kInputNames[] = {"contacts", "binary"};
constexpr const char* kSettingNames[] = {"rs", "usb", "input", "fire"};

template <std::size_t N>
std::optional<int> IndexOf(const std::array<int, N>& values, const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    const auto it = std::find(values.begin(), values.end(), value);
    if (it == values.end())
        return std::nullopt;
    return static_cast<int>(it - values.begin());
}

void Print(std::ostream& out, const DipSwitchState& state) {
    out << "rs " << maintenance::kRsBpsRates[static_cast<std::size_t>(state.rsBps)] << '\n'
        << "usb " << maintenance::kUsbBpsRates[static_cast<std::size_t>(state.usbBps)] << '\n'
        << "input " << kInputNames[state.inputSel] << '\n'
        << "fire " << maintenance::kFrameCounts[static_cast<std::size_t>(state.frameMax)] << '\n'
        << "dsw1 ";
    for (int n = 1; n <= 7; ++n)
        out << (state.on(n) ? '1' : '0');
    out << '\n';
}

} // namespace

int RunDipCommand(BoardContext& context, const std::vector<std::string>& args) {
    // Wanted list indices, by the order of kSettingNames.
    std::array<std::optional<int>, 4> wanted;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        const std::string value = i + 1 < args.size() ? args[i + 1] : std::string();
        std::optional<int> index;
        std::size_t slot = 0;
        if (name == "--rs") {
            index = IndexOf(maintenance::kRsBpsRates, value);
        } else if (name == "--usb") {
            slot = 1;
            index = IndexOf(maintenance::kUsbBpsRates, value);
        } else if (name == "--input") {
            slot = 2;
            if (value == kInputNames[0] || value == kInputNames[1])
                index = value == kInputNames[1] ? 1 : 0;
        } else if (name == "--fire") {
            slot = 3;
            index = IndexOf(maintenance::kFrameCounts, value);
        } else {
            context.err << "quvan-board: dip takes --rs 115200|57600|38400|19200|9600, "
                           "--usb 115200|57600, --input contacts|binary, --fire 1|2|4|6; not \""
                        << name << "\"\n";
            return kExitUsage;
        }
        if (!index) {
            context.err << "quvan-board: " << name << " cannot be \"" << value << "\"\n";
            return kExitUsage;
        }
        wanted[slot] = index;
        ++i;
    }

    // The board's present settings; a setting that is not changed must be
    // known, or applying would overwrite it with a guess.
    DipSwitchState state;
    std::array<bool, 4> known{};
    const std::vector<std::string> queries = maintenance::DipQueryCommands();
    for (std::size_t q = 0; q < queries.size(); ++q) {
        if (!context.session.send(queries[q]))
            break;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(maintenance::kDipReplyWaitMs);
        std::string line;
        while (true) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                std::max(deadline - std::chrono::steady_clock::now(),
                         std::chrono::steady_clock::duration{}));
            const BoardSession::Read read = context.session.readLine(line, left);
            if (read != BoardSession::Read::Line && read != BoardSession::Read::Dot)
                break;
            if (read != BoardSession::Read::Line)
                continue;
            const maintenance::DipReply reply = maintenance::ApplyDipReply(state, line);
            if (!reply.isReply)
                continue;
            // "Bit16:" and "Binary:" tell the input and the emissions at once.
            if (reply.taken && reply.list == DipList::FrameMax)
                known[2] = known[3] = true;
            else if (reply.taken)
                known[reply.list == DipList::RsBps ? 0 : 1] = true;
            break;
        }
    }
    if (context.session.lost()) {
        context.err << "quvan-board: " << context.session.lostText() << '\n';
        return kExitLineLost;
    }

    const bool applying = std::any_of(wanted.begin(), wanted.end(),
                                      [](const std::optional<int>& w) { return w.has_value(); });
    for (std::size_t s = 0; s < wanted.size(); ++s) {
        if (!known[s] && (!applying || !wanted[s])) {
            context.err << "quvan-board: the board did not report its " << kSettingNames[s]
                        << " setting"
                        << (applying ? std::string(" (give --") + kSettingNames[s] + " to set it)"
                                     : std::string())
                        << '\n';
            return kExitNoAnswer;
        }
    }
    if (!applying) {
        Print(context.out, state);
        return kExitOk;
    }

    if (wanted[0])
        state.SetList(DipList::RsBps, *wanted[0]);
    if (wanted[1])
        state.SetList(DipList::UsbBps, *wanted[1]);
    if (wanted[2])
        state.SetList(DipList::InputSel, *wanted[2]);
    if (wanted[3])
        state.SetList(DipList::FrameMax, *wanted[3]);
    for (const std::string& command : maintenance::DipApplyCommands(state)) {
        if (!context.session.send(command))
            break;
        std::string line;
        const BoardSession::Read read =
            context.session.readLine(line, std::chrono::milliseconds(maintenance::kDipReplyWaitMs));
        if (read == BoardSession::Read::Line && line == "?") {
            context.err << "quvan-board: the board refused " << command << '\n';
            return kExitFailed;
        }
    }
    // The board reads its switches again as it restarts.
    context.session.send("Reset");
    if (context.session.lost()) {
        context.err << "quvan-board: " << context.session.lostText() << '\n';
        return kExitLineLost;
    }
    Print(context.out, state);
    return kExitOk;
}

} // namespace quvan::cli
