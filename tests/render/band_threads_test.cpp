#include <gtest/gtest.h>

#include <atomic>

#include "render/band_workers.h"
#include "render/frame_raster.h"

namespace rek {
namespace {

// The threads that draw a frame's bands, and the choice of drawing in bands at all.

TEST(BandWorkers, EveryTaskRunsExactlyOnceInEveryRun) {
    for (int threads : {1, 2, 4}) {
        BandWorkers workers(threads);
        for (int run = 0; run < 200; ++run) {
            const int tasks = run % 11;
            std::atomic<int> counts[10] = {};
            auto job = [&counts](int task) { counts[task].fetch_add(1); };
            workers.run(tasks, job);
            for (int task = 0; task < 10; ++task)
                ASSERT_EQ(counts[task].load(), task < tasks ? 1 : 0)
                    << threads << " threads, run " << run << ", task " << task;
        }
    }
}

// Drawing alone or in bands, by how long each took per row lately.
TEST(ThreadingChoice, TriesBothThenKeepsTheCheaperAndRetriesTheOther) {
    ThreadingChoice choice;
    EXPECT_TRUE(choice.bandsNext());
    choice.record(true, 3.0);
    EXPECT_FALSE(choice.bandsNext());
    choice.record(false, 1.0);

    // Alone is cheaper: bands again only after kRetryAfter frames alone.
    int bandFrames = 0;
    for (int frame = 0; frame < 10 * ThreadingChoice::kRetryAfter; ++frame) {
        const bool bands = choice.bandsNext();
        bandFrames += bands ? 1 : 0;
        choice.record(bands, bands ? 3.0 : 1.0);
    }
    EXPECT_GE(bandFrames, 9);
    EXPECT_LE(bandFrames, 11);

    // The machine quietens: bands become cheaper at their next try, and stay chosen.
    int frame = 0;
    while (!choice.bandsNext() && frame++ < 2 * ThreadingChoice::kRetryAfter)
        choice.record(false, 1.0);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(choice.bandsNext()) << i;
        choice.record(true, 0.2);
    }
    int aloneFrames = 0;
    for (int i = 0; i < 5 * ThreadingChoice::kRetryAfter; ++i) {
        const bool bands = choice.bandsNext();
        aloneFrames += bands ? 0 : 1;
        choice.record(bands, bands ? 0.2 : 1.0);
    }
    EXPECT_GE(aloneFrames, 4);
    EXPECT_LE(aloneFrames, 6);
}

}  // namespace
}  // namespace rek
