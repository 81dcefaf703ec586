#pragma once
// Runs one of our command-line programs as a script would: through the
// shell, collecting what it prints and how it exits.

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace quvan::test_support {

struct RunResult {
    int status = -1; // the exit status; -1 when the program did not exit
    std::string out;
    std::string err;
};

// Runs `command` (program and arguments, quoted by the caller). Standard
// error goes through the file `errFile` into `err`, or, without a file, into
// `out` together with standard output.
inline RunResult RunProgram(const std::string& command, const std::string& errFile = {}) {
    const std::string shell = command + (errFile.empty() ? " 2>&1" : " 2>" + errFile);
    RunResult r;
    FILE* pipe = popen(shell.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        r.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!errFile.empty()) {
        std::ifstream in(errFile, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        r.err = text.str();
    }
    return r;
}

} // namespace quvan::test_support
