#include "platform/raster_pool.h"

#include <algorithm>

namespace plat {

RasterPool::RasterPool(unsigned threads) {
    if (threads < 1) threads = 1;
    _workers.reserve(threads - 1);
    for (unsigned i = 1; i < threads; ++i) _workers.emplace_back([this] { Work(); });
}

RasterPool::~RasterPool() {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _stop = true;
    }
    _wake.notify_all();
    for (auto& t : _workers) t.join();
}

void RasterPool::TakeJobs() {
    for (unsigned i = _next.fetch_add(1, std::memory_order_relaxed); i < _count;
         i = _next.fetch_add(1, std::memory_order_relaxed))
        _job(_context, i);
}

void RasterPool::Run(unsigned count, Job job, void* context, unsigned max_helpers) {
    if (count == 0) return;
    const unsigned helpers =
        std::min({static_cast<unsigned>(_workers.size()), (count - 1) / kJobsPerWorker, max_helpers});
    if (helpers == 0) {
        for (unsigned i = 0; i < count; ++i) job(context, i);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _job = job;
        _context = context;
        _count = count;
        _next.store(0, std::memory_order_relaxed);
        _seats = helpers;
        ++_generation;
    }
    // Only as many workers as there are seats: the others sleep on. A wake-up
    // may reach a worker that is already through this batch and be lost; that
    // costs a helper, never the batch, since only seats taken are waited for.
    for (unsigned i = 0; i < helpers; ++i) _wake.notify_one();
    TakeJobs();
    // Every job is taken: no worker joins any more. The workers' writes are
    // visible once they have been counted out under the lock.
    std::unique_lock<std::mutex> lock(_mutex);
    _seats = 0;
    _done.wait(lock, [this] { return _busy == 0; });
}

void RasterPool::Work() {
    uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(_mutex);
            _wake.wait(lock, [&] { return _stop || _generation != seen; });
            if (_stop) return;
            seen = _generation;
            if (_seats == 0) continue;  // enough workers on this batch, or it is over
            --_seats;
            ++_busy;
        }
        TakeJobs();
        std::lock_guard<std::mutex> lock(_mutex);
        if (--_busy == 0) _done.notify_one();
    }
}

}  // namespace plat
