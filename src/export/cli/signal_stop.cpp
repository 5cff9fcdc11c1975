#include "export/cli/signal_stop.h"

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <ctime>

namespace rek::cli {

namespace {

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

SignalStop::SignalStop() {
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([this] { wait(); });
}

SignalStop::~SignalStop() {
    finished_ = true;
    waiter_.join();
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void SignalStop::wait() {
    const sigset_t set = stopSignals();
    // Woken every 50 ms to see whether the program is ending.
    const timespec period{0, 50'000'000};
    while (!finished_) {
        const int signal = sigtimedwait(&set, nullptr, &period);
        if (signal != SIGINT && signal != SIGTERM)
            continue;
        received_ = signal;
        if (!exporting_) {
            // Nothing is being written: end as the signal would have.
            std::_Exit(128 + signal);
        }
        stop_.request_stop();
        return;
    }
}

}  // namespace rek::cli
