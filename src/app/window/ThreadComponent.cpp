#include "app/window/ThreadComponent.h"

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
    if (enabled && OnStart) OnStart(*this);
    {
        // Under the lock, so that the worker cannot miss the change between its test and its wait.
        std::lock_guard lock(mutex_);
        enabled_ = enabled;
    }
    changed_.notify_all();
    if (!enabled && OnTerminate) OnTerminate(*this);
}

void TThreadComponent::SetHeld(bool held) {
    {
        std::lock_guard lock(mutex_);
        held_ = held;
    }
    changed_.notify_all();
}

void TThreadComponent::workerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || running(); });
        if (stopping_) return;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(sleep_.load()));
        lock.lock();
        if (stopping_) return;
        if (!running()) continue;
        pending_ = true;
        QMetaObject::invokeMethod(&receiver_, [this] { runOnMainThread(); }, Qt::QueuedConnection);
        // Wait for the main thread to have run it, unless told to stop or pause meanwhile.
        changed_.wait(lock, [this] { return stopping_ || !pending_ || !running(); });
    }
}

void TThreadComponent::runOnMainThread() {
    if (running() && OnExecute) {
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
