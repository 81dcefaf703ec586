#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"

#include <charconv>

namespace quvan::cli {

int RunSendCommand(BoardContext& context, const std::vector<std::string>& args) {
    int quietMs = 300;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--quiet" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), quietMs);
            if (error != std::errc() || end != v.data() + v.size() || quietMs < 0) {
                context.err << "quvan-board: --quiet needs milliseconds, not \"" << v << "\"\n";
                return kExitUsage;
            }
        } else {
            texts.push_back(args[i]);
        }
    }
    if (texts.empty()) {
        context.err << "quvan-board: send needs at least one command text\n";
        return kExitUsage;
    }
    for (const std::string& text : texts) {
        if (!context.session.send(text))
            break;
        // The board's answer to one command may come as several lines; it
        // is complete once the board has been silent for --quiet ms.
        std::string line;
        BoardSession::Read read;
        while ((read = context.session.readLine(line, std::chrono::milliseconds(quietMs))) ==
                   BoardSession::Read::Line ||
               read == BoardSession::Read::Dot) {
            context.out << (read == BoardSession::Read::Dot ? "." : line) << '\n';
        }
        context.out.flush();
        if (read == BoardSession::Read::Lost)
            break;
    }
    if (context.session.lost()) {
        context.err << "quvan-board: " << context.session.lostText() << '\n';
        return kExitLineLost;
    }
    return kExitOk;
}

} // namespace quvan::cli
