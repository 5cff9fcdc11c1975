#pragma once

// Runs a program on a pseudo-terminal with its arguments as bytes, as a shell would: what it
// writes to the terminal, and optionally a signal sent to it once some text has appeared.

#include <csignal>
#include <string>
#include <vector>

namespace rek::test {

struct TerminalRun {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string output;
};

// `arguments` without the program. When `signalAfter` is not empty, `signal` is sent as soon
// as the output holds that text.
TerminalRun runOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& signalAfter = {}, int signal = SIGINT);

}  // namespace rek::test
