// quvan-board: the tool's transfers with the board from the command line,
// for production and service work (the same table into many boards, a
// firmware update on a bench). See Usage() for the command line.

#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"
#include "cli/board/simulator_process.h"

#include <array>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <unistd.h>

namespace {

using namespace quvan::cli;

// Every command; each line names the function in its own file.
constexpr std::array kCommands{
    BoardCommand{"write",
                 "TABLE [--row N] [--erase-blank]   register rows of a table file (all rows, "
                 "or one)",
                 RunWriteCommand},
    BoardCommand{"read", "OUT   read entries 1..250 into a new table file OUT", RunReadCommand},
    BoardCommand{"fire", "TABLE ROW [--outputs 1111] [--by-result]   fire one row of a table",
                 RunFireCommand},
    BoardCommand{"send",
                 "TEXT... [--quiet MS]   send commands, print the board's replies until "
                 "it is silent",
                 RunSendCommand},
    BoardCommand{"firmware", "FILE [--reset-wait MS] [--loader-wait MS]   update the firmware",
                 RunFirmwareCommand},
    BoardCommand{"dip",
                 "[--rs N] [--usb N] [--input contacts|binary] [--fire 1|2|4|6]   show or set "
                 "the DIP switches",
                 RunDipCommand},
};

void Usage(std::ostream& out) {
    out << "usage: quvan-board [--port NAME | --simulate] [--speed N] [--head NAME] "
           "[--dlmt NAME] [--pro] COMMAND ...\n";
    for (const BoardCommand& c : kCommands)
        out << "  " << c.name << ' ' << c.usage << '\n';
    out << "Port and line settings not given come from the tool's saved settings.\n"
           "--head takes STX or none; --dlmt takes ETX, CR, LF, CRLF or none.\n"
           "--simulate starts the simulated board (quvan-sim); --sim ARG passes ARG to it.\n"
           "Exit codes: 0 done, 1 failed, 2 bad usage or unreadable input, 3 the board\n"
           "stopped answering, 4 the serial line was lost.\n";
}

std::filesystem::path SelfPath(const char* argv0) {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::absolute(argv0) : self;
}

// How to get a port this user may not open; empty for other failures.
std::string PermissionHint(const quvan::platform::OpenError& error) {
    if (error.kind != quvan::platform::OpenFailure::PermissionDenied) {
        return {};
    }
    if (error.deviceGroup.empty()) {
        return "quvan-board: only root may use " + error.path + " (see ls -l " + error.path + ")\n";
    }
    if (error.groupJoinPending) {
        return "quvan-board: you are in the group " + error.deviceGroup +
               " but this session is not yet; log out and in again\n";
    }
    return "quvan-board: you are not in the group " + error.deviceGroup +
           " that may use it; add yourself with\n    sudo adduser $USER " + error.deviceGroup +
           "\nthen log out and in again\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        Usage(std::cout);
        return kExitOk;
    }
    const std::filesystem::path self = SelfPath(argv[0]);
    auto parsed = ParseBoardOptions(args, self);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "quvan-board: " << *error << '\n';
        Usage(std::cerr);
        return kExitUsage;
    }
    BoardOptions options = std::get<BoardOptions>(std::move(parsed));
    const BoardCommand* command = nullptr;
    for (const BoardCommand& c : kCommands)
        if (options.command == c.name)
            command = &c;
    if (command == nullptr) {
        std::cerr << "quvan-board: unknown command \"" << options.command << "\"\n";
        Usage(std::cerr);
        return kExitUsage;
    }

    SimulatorProcess simulator;
    if (options.simulate) {
        std::string error;
        const std::string path = simulator.start(self.parent_path(), options.port, options.pro,
                                                 options.simulatorArguments, &error);
        if (path.empty()) {
            std::cerr << "quvan-board: " << error << '\n';
            return kExitFailed;
        }
        options.port.PortName = path;
    }

    quvan::platform::PosixSerialPortOpener opener;
    BoardSession session(opener);
    quvan::platform::OpenError error;
    if (!session.open(options.port, &error)) {
        std::cerr << "quvan-board: cannot open the port " << options.port.PortName << ": "
                  << error.message << '\n'
                  << PermissionHint(error);
        return kExitFailed;
    }
    BoardContext context{session, options, std::cout, std::cerr};
    const int code = command->run(context, options.commandArguments);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "quvan-board: cannot write the output\n";
        return code == kExitOk ? kExitFailed : code;
    }
    return code;
}
