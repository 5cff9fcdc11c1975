#pragma once

// The program started in a process of its own, in folders of its own, with arguments of any
// bytes (QProcess passes them as text, which cannot carry a file name that is no valid UTF-8).

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcessEnvironment>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace rek::test {

// The environment with runtime, config, state and home folders below `root`, offscreen.
inline QProcessEnvironment isolatedEnvironment(const std::filesystem::path& root) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (const auto& [variable, name] : {std::pair{"XDG_RUNTIME_DIR", "runtime"},
                                         {"XDG_CONFIG_HOME", "config"},
                                         {"XDG_STATE_HOME", "state"},
                                         {"HOME", "home"}}) {
        std::filesystem::create_directory(root / name);
        environment.insert(variable, QString::fromStdString((root / name).string()));
    }
    // The runtime folder is private to its user, as the desktop makes it.
    std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
    return environment;
}

class ChildProcess {
  public:
    // Starts `program`; its standard output (and error, if `withErrors`) is kept for output().
    ChildProcess(const std::string& program, std::vector<std::string> arguments,
                 const QProcessEnvironment& environment, bool withErrors = false) {
        std::vector<std::string> variables;
        for (const QString& variable : environment.toStringList())
            variables.push_back(QFile::encodeName(variable).toStdString());
        arguments.insert(arguments.begin(), program);
        std::vector<char*> envp;
        std::vector<char*> argv;
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        for (std::string& word : arguments)
            argv.push_back(word.data());
        envp.push_back(nullptr);
        argv.push_back(nullptr);
        int output[2];
        if (::pipe2(output, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            if (withErrors)
                ::dup2(output[1], STDERR_FILENO);
            ::execve(program.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(output[1]);
        output_ = output[0];
    }
    ~ChildProcess() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0)
            ::close(output_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void kill(int signal) { ::kill(pid_, signal); }

    // The exit code, -1 for a death by signal; nothing when it still runs after `timeout`.
    std::optional<int> wait(std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!status_) {
            int status = 0;
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            else if (done < 0 || std::chrono::steady_clock::now() > end)
                return std::nullopt;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return status_;
    }

    // What it wrote (read once it ended).
    std::string output() {
        std::string text;
        char buffer[4096];
        for (ssize_t n; output_ >= 0 && (n = ::read(output_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::optional<int> status_;
};

// Waits until `done` holds, at most `limit`.
template <typename Condition>
bool waitFor(Condition done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace rek::test
