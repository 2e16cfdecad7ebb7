#pragma once
// TDXTimer: a timer driven by the main thread's idle processing. Whenever the event queue has run
// dry and at least Interval milliseconds have passed since the last tick, OnTimer fires with the
// number of whole intervals that passed (at least 1), and the timer asks to run again at once.
// With ActiveOnly it stops while the application is not active and restarts when it is again.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <exception>
#include <functional>

namespace grottix {

class TDXTimer : public QObject {
    Q_OBJECT
public:
    explicit TDXTimer(QObject* parent = nullptr);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    // While held, an enabled timer does not tick; releasing it starts it again.
    bool Held() const { return held_; }
    void SetHeld(bool held);
    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool activeOnly);

    std::function<void(TDXTimer& sender, int lagCount)> OnTimer;
    // Receives what OnTimer throws (an event loop cannot carry exceptions); without it they are dropped.
    std::function<void(std::exception_ptr)> OnError;

    // Ticks per second, measured over one second or more.
    double FrameRate() const { return frameRate_; }

    // Millisecond clock (steady by default; tests use their own).
    void SetClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }
    // One pass of the idle processing: fires when due and schedules the next pass.
    void Tick();
    // Application activation, as the application reports it.
    void ApplicationActivated(bool active);

private:
    bool running() const { return enabled_ && !held_ && (active_ || !activeOnly_); }
    void restart();
    void measureRate(int64_t now);

    QTimer timer_;
    std::function<int64_t()> clock_;
    bool enabled_ = false;
    bool held_ = false;
    int interval_ = 1000;
    bool activeOnly_ = true;
    bool active_ = true;
    int64_t lastTick_ = 0;
    int64_t rateStart_ = 0;
    int ticksSinceRateStart_ = 0;
    double frameRate_ = 0;
};

}  // namespace grottix
