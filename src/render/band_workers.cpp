#include "render/band_workers.h"

#include <algorithm>

namespace rek {

BandWorkers::BandWorkers(int threads) : threads_(std::max(threads, 1)) {}

BandWorkers::~BandWorkers() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

void BandWorkers::runTasks(int tasks, Call call, void* context) {
    if (tasks <= 0)
        return;
    if (threads_ == 1 || tasks == 1) {
        for (int task = 0; task < tasks; ++task)
            call(context, task);
        return;
    }
    if (helpers_.empty()) {
        helpers_.reserve(static_cast<std::size_t>(threads_ - 1));
        for (int i = 1; i < threads_; ++i)
            helpers_.emplace_back([this] { helperLoop(); });
    }
    std::unique_lock lock(mutex_);
    call_ = call;
    context_ = context;
    tasks_ = tasks;
    nextTask_ = 0;
    doneTasks_ = 0;
    ++generation_;
    wake_.notify_all();
    workOff(lock);
    finished_.wait(lock, [this] { return doneTasks_ == tasks_; });
}

void BandWorkers::workOff(std::unique_lock<std::mutex>& lock) {
    while (nextTask_ < tasks_) {
        const int task = nextTask_++;
        const Call call = call_;
        void* const context = context_;
        lock.unlock();
        call(context, task);
        lock.lock();
        if (++doneTasks_ == tasks_)
            finished_.notify_one();
    }
}

void BandWorkers::helperLoop() {
    std::unique_lock lock(mutex_);
    unsigned seen = generation_;
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_)
            return;
        seen = generation_;
        workOff(lock);
    }
}

}  // namespace rek
