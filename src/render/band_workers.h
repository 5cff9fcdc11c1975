#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace rek {

// A few threads that help the calling thread through a list of tasks: run() hands out the
// tasks one by one to whoever is free, the caller included, and returns when all are done.
// The threads start with the first run that wants them and wait between runs; nothing is
// allocated per run. A helper that wakes up late just finds no task left, so a busy machine
// slows a run down to what the caller does alone, never further.
class BandWorkers {
  public:
    // `threads` counts the caller: 1 runs everything on the caller.
    explicit BandWorkers(int threads);
    ~BandWorkers();

    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    int threads() const { return threads_; }

    // Calls job(task) once for every task in 0..tasks-1.
    template <typename Job>
    void run(int tasks, Job& job) {
        runTasks(
            tasks, [](void* context, int task) { (*static_cast<Job*>(context))(task); }, &job);
    }

  private:
    using Call = void (*)(void*, int);

    void runTasks(int tasks, Call call, void* context);
    // Takes and runs tasks of the current run until none is left; `lock` is held on entry
    // and on return.
    void workOff(std::unique_lock<std::mutex>& lock);
    void helperLoop();

    const int threads_;
    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    // The current run, all guarded by mutex_.
    unsigned generation_ = 0;
    Call call_ = nullptr;
    void* context_ = nullptr;
    int tasks_ = 0;
    int nextTask_ = 0;
    int doneTasks_ = 0;
    bool stopping_ = false;
};

}  // namespace rek
