#include "terminal_run.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace rek::test {

TerminalRun runOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& signalAfter, int signal) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    TerminalRun run;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0)
        return run;
    if (child == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    bool signalled = signalAfter.empty();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{terminal, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;  // the program closed the terminal: it has ended
        run.output.append(buffer, static_cast<std::size_t>(got));
        if (!signalled && run.output.find(signalAfter) != std::string::npos) {
            kill(child, signal);
            signalled = true;
        }
    }
    close(terminal);
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace rek::test
