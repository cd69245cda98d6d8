#pragma once
// The render device's worker threads: a fixed set started once that runs the
// numbered jobs of one batch (the changed tiles of a frame) alongside the
// calling thread and returns when every job is done. Jobs are handed out one
// by one, so a thread that finishes a light tile takes the next one, and a
// batch calls on one worker for every kJobsPerWorker jobs at most, and on no
// more than the caller allows: a frame that changed little is drawn by the
// calling thread alone, and the workers it does not call on stay asleep.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace plat {

class RasterPool {
public:
    using Job = void (*)(void* context, unsigned index);
    static constexpr unsigned kJobsPerWorker = 8;

    // `threads` counts the calling thread: 1 starts no worker at all.
    explicit RasterPool(unsigned threads);
    ~RasterPool();
    RasterPool(const RasterPool&) = delete;
    RasterPool& operator=(const RasterPool&) = delete;

    unsigned Threads() const { return static_cast<unsigned>(_workers.size()) + 1; }
    // Runs job(context, i) for every i in [0, count) with at most
    // `max_helpers` workers beside the calling thread, and waits for all of
    // them. Jobs must not throw.
    void Run(unsigned count, Job job, void* context, unsigned max_helpers = ~0u);

private:
    void Work();
    void TakeJobs();

    std::vector<std::thread> _workers;
    std::mutex _mutex;
    std::condition_variable _wake, _done;
    uint64_t _generation = 0;  // bumped for every batch the workers must join
    unsigned _busy = 0;        // workers on the current batch not yet through it
    unsigned _seats = 0;       // workers the current batch may still take
    bool _stop = false;
    Job _job = nullptr;
    void* _context = nullptr;
    unsigned _count = 0;
    std::atomic<unsigned> _next {0};
};

}  // namespace plat
