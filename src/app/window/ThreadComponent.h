#pragma once
// TThreadComponent: a pacing thread. While enabled, its worker pauses Sleep milliseconds and then has
// OnExecute run on the main thread, waiting until it has run. All the work stays on the main
// thread; the worker only sets the pace.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace grottix {

class TThreadComponent {
public:
    using TNotifyEvent = std::function<void(TThreadComponent& sender)>;

    TThreadComponent();
    ~TThreadComponent();
    TThreadComponent(const TThreadComponent&) = delete;
    TThreadComponent& operator=(const TThreadComponent&) = delete;

    bool Enabled() const { return enabled_; }
    // Enabling fires OnStart, disabling OnTerminate; setting the current value does nothing.
    void SetEnabled(bool enabled);
    // While held, an enabled component keeps its worker waiting: no pause, no OnExecute, and no
    // OnStart or OnTerminate either (Enabled does not change). Releasing it resumes the pacing.
    bool Held() const { return held_; }
    void SetHeld(bool held);
    int Sleep() const { return sleep_; }
    void SetSleep(int milliseconds) { sleep_ = milliseconds < 0 ? 0 : milliseconds; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnStart;
    TNotifyEvent OnTerminate;

private:
    void workerLoop();
    void runOnMainThread();

    QObject receiver_;  // lives on the main thread; work queued to it dies with it
    bool running() const { return enabled_ && !held_; }

    std::atomic<bool> enabled_{false};
    std::atomic<bool> held_{false};
    std::atomic<int> sleep_{1};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool pending_ = false;
    std::thread worker_;
};

}  // namespace grottix
