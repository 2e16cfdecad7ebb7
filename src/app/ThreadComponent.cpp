#include "app/ThreadComponent.h"

#include <chrono>

namespace grottix {

TThreadComponent::TThreadComponent() { worker_ = std::thread([this] { workerLoop(); }); }

TThreadComponent::~TThreadComponent() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
    const bool wasEnabled = enabled_.exchange(false);
    if (wasEnabled && OnTerminate) OnTerminate(*this);
}

void TThreadComponent::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    if (enabled) {
        if (OnStart) OnStart(*this);
        enabled_ = true;
        changed_.notify_all();
    } else {
        enabled_ = false;
        changed_.notify_all();
        if (OnTerminate) OnTerminate(*this);
    }
}

void TThreadComponent::workerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || enabled_; });
        if (stopping_) return;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(sleep_.load()));
        lock.lock();
        if (stopping_) return;
        if (!enabled_) continue;
        pending_ = true;
        QMetaObject::invokeMethod(&receiver_, [this] { runOnMainThread(); }, Qt::QueuedConnection);
        // Wait for the main thread to have run it, unless told to stop or pause meanwhile.
        changed_.wait(lock, [this] { return stopping_ || !pending_ || !enabled_; });
    }
}

void TThreadComponent::runOnMainThread() {
    if (enabled_ && OnExecute) {
        try {
            OnExecute(*this);
        } catch (...) {
            // The work's failures end that run only.
        }
    }
    {
        std::lock_guard lock(mutex_);
        pending_ = false;
    }
    changed_.notify_all();
}

}  // namespace grottix
