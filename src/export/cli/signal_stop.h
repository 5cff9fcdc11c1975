#pragma once

// SIGINT and SIGTERM for rektool-export: an export in progress is asked to stop, so that it
// ends at its next frame leaving no file behind; outside an export the program ends at once.

#include <atomic>
#include <stop_token>
#include <thread>

namespace rek::cli {

class SignalStop {
  public:
    // Blocks the two signals for this thread and every thread started after it, and waits for
    // them on a thread of its own. Make it before any other thread is started.
    SignalStop();
    // Stops waiting and restores the signal mask.
    ~SignalStop();
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

    // Between these, a signal asks `token()` to stop instead of ending the program.
    void exportStarting() { exporting_ = true; }
    void exportEnded() { exporting_ = false; }
    std::stop_token token() const { return stop_.get_token(); }

    // The signal that arrived, 0 for none.
    int received() const { return received_; }

  private:
    void wait();

    std::stop_source stop_;
    std::atomic<bool> exporting_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> received_{0};
    std::thread waiter_;
};

}  // namespace rek::cli
