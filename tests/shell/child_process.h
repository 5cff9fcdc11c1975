#pragma once

// A program started with arguments and environment of any bytes (QProcess passes them as
// text, which cannot carry a file name that is no valid UTF-8).

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcessEnvironment>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace rek::test {

class ChildProcess {
  public:
    // Starts `program` with `arguments`; its standard output is kept for output().
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const QProcessEnvironment& environment) {
        std::vector<std::string> variables;
        for (const QString& variable : environment.toStringList())
            variables.push_back(QFile::encodeName(variable).toStdString());
        std::vector<std::string> words{program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> envp;
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int output[2];
        if (::pipe2(output, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(output[1], STDOUT_FILENO);
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

    bool started() const { return pid_ > 0; }
    void kill(int signal) { ::kill(pid_, signal); }

    // The exit code, -1 for a death by signal; nothing when it still runs after `timeout`.
    std::optional<int> wait(std::chrono::milliseconds timeout) {
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

    // What it wrote to its standard output (read once it ended).
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

}  // namespace rek::test
