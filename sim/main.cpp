// quvan-sim: the simulated board on a pseudo-terminal. See --help.
#include "sim/pty_port.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {
volatile int g_stop = 0;
void request_stop(int) {
    g_stop = 1;
}
} // namespace

int main(int argc, char** argv) {
    using namespace quvan::sim;
    auto parsed = parse_options(std::vector<std::string>(argv + 1, argv + argc));
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "quvan-sim: " << *error << "\n";
        return 2;
    }
    SimOptions options = std::get<SimOptions>(parsed);
    if (options.help) {
        std::cout << help_text();
        return 0;
    }

    std::string script;
    if (!options.script_path.empty()) {
        std::ifstream in(options.script_path);
        if (!in) {
            std::cerr << "quvan-sim: cannot read script " << options.script_path << "\n";
            return 2;
        }
        std::ostringstream text;
        text << in.rdbuf();
        script = text.str();
    }

    struct sigaction sa {};
    sa.sa_handler = request_stop;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PtyPort port;
    if (auto error = port.open(); !error.empty()) {
        std::cerr << "quvan-sim: " << error << "\n";
        return 1;
    }
    const std::string link = options.link_path;
    if (!link.empty()) {
        ::unlink(link.c_str()); // a link left by an earlier run
        if (::symlink(port.slave_path().c_str(), link.c_str()) != 0)
            std::perror(("quvan-sim: symlink " + link).c_str());
    }

    int code = 0;
    {
        SimServer server(options, port);
        if (auto error = server.open_control(); !error.empty()) {
            std::cerr << "quvan-sim: " << error << "\n";
            code = 1;
        } else {
            server.add_control_lines(script);
            std::cout << "PTY " << port.slave_path() << std::endl;
            code = server.run(g_stop);
        }
    }
    port.close();
    if (!link.empty())
        ::unlink(link.c_str());
    return code;
}
