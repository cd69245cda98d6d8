// The rasteriser's worker threads: every job runs once, and a batch uses no
// more workers than the caller allows.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/raster_pool.h"

using plat::RasterPool;

namespace {

struct Batch {
    std::vector<std::atomic<int>> runs;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    explicit Batch(unsigned count) : runs(count) {}

    static void Job(void* self, unsigned index) {
        auto* b = static_cast<Batch*>(self);
        b->runs[index].fetch_add(1);
        {
            std::lock_guard<std::mutex> lock(b->mutex);
            b->threads.insert(std::this_thread::get_id());
        }
        // Long enough that every worker called on gets a job before the batch ends.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
};

}  // namespace

TEST(RasterPool, RunsEveryJobOnceOnNoMoreThreadsThanAllowed) {
    RasterPool pool(4);
    struct Case {
        unsigned count, max_helpers, threads_at_most, threads_at_least;
    };
    // Jobs per worker decide too: 8 jobs never wake one. (That a worker called
    // on gets a job at all depends on the scheduler, so only the unlimited
    // batch, 128 ms of jobs, insists on one.)
    const Case cases[] = {{8, ~0u, 1, 1}, {64, 0, 1, 1}, {64, 1, 2, 1}, {64, 2, 3, 1}, {64, ~0u, 4, 2}, {17, ~0u, 3, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " jobs, " << c.max_helpers << " helpers allowed");
        Batch batch(c.count);
        pool.Run(c.count, &Batch::Job, &batch, c.max_helpers);
        for (unsigned i = 0; i < c.count; ++i) EXPECT_EQ(batch.runs[i].load(), 1) << "job " << i;
        EXPECT_LE(batch.threads.size(), c.threads_at_most);
        EXPECT_GE(batch.threads.size(), c.threads_at_least);
        EXPECT_TRUE(batch.threads.count(std::this_thread::get_id()));
    }
}

// Many short batches in a row: a wake-up that reaches a worker already
// through its batch must not leave the caller waiting for a seat nobody takes.
TEST(RasterPool, ShortBatchesInARowAllFinish) {
    std::atomic<bool> finished {false};
    std::atomic<unsigned> jobs {0};
    std::thread runner([&] {
        RasterPool pool(8);
        for (int batch = 0; batch < 20000; ++batch)
            pool.Run(8 * (1 + batch % 7) + 1, [](void* done, unsigned) { static_cast<std::atomic<unsigned>*>(done)->fetch_add(1); },
                     &jobs, 1 + batch % 7);
        finished = true;
    });
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!finished && std::chrono::steady_clock::now() < give_up) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!finished) {
        // The pool is stuck and its thread cannot be joined: end here, loudly.
        std::fprintf(stderr, "RasterPool: a batch never finished (%u jobs ran)\n", jobs.load());
        std::abort();
    }
    runner.join();
    unsigned expected = 0;
    for (int batch = 0; batch < 20000; ++batch) expected += 8 * (1 + batch % 7) + 1;
    EXPECT_EQ(jobs.load(), expected);
}
