#include "device/raster/WorkerPool.h"

#include <algorithm>

namespace grottix::raster {

TWorkerPool::TWorkerPool(int count) {
    if (count <= 0) count = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    for (int i = 1; i < count; ++i) threads_.emplace_back([this, i] { workerLoop(i); });
}

TWorkerPool::~TWorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void TWorkerPool::Run(const std::function<void(int)>& job) {
    if (threads_.empty()) {
        job(0);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        job_ = &job;
        pending_ = int(threads_.size());
        ++generation_;
    }
    wake_.notify_all();
    std::exception_ptr own;
    try {
        job(0);
    } catch (...) {
        own = std::current_exception();
    }
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return pending_ == 0; });
    job_ = nullptr;
    std::exception_ptr failure = own ? own : failure_;
    failure_ = nullptr;
    if (failure) std::rethrow_exception(failure);
}

void TWorkerPool::workerLoop(int index) {
    unsigned seen = 0;
    for (;;) {
        const std::function<void(int)>* job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
            job = job_;
        }
        std::exception_ptr failure;
        try {
            (*job)(index);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            if (failure && !failure_) failure_ = failure;
            --pending_;
        }
        done_.notify_one();
    }
}

}  // namespace grottix::raster
