#pragma once
// A fixed set of worker threads that run one job together: Run(job) calls job(i) once for every
// worker index i in [0, Count()), index 0 on the calling thread, and returns when all are done.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace grottix::raster {

class TWorkerPool {
public:
    // A job that throws on any worker rethrows from Run once every worker is done.
    // count 0 means one worker per hardware thread (at most 8).
    explicit TWorkerPool(int count = 0);
    ~TWorkerPool();
    TWorkerPool(const TWorkerPool&) = delete;
    TWorkerPool& operator=(const TWorkerPool&) = delete;

    int Count() const { return int(threads_.size()) + 1; }
    void Run(const std::function<void(int worker)>& job);

private:
    void workerLoop(int index);

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(int)>* job_ = nullptr;
    unsigned generation_ = 0;
    int pending_ = 0;
    std::exception_ptr failure_;
    bool stopping_ = false;
};

}  // namespace grottix::raster
