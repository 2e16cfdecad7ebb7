#include "device/qt/DXTimer.h"

#include <QGuiApplication>
#include <algorithm>
#include <chrono>

namespace grottix {

TDXTimer::TDXTimer(QObject* parent) : QObject(parent) {
    clock_ = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TDXTimer::Tick);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        active_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) { ApplicationActivated(state == Qt::ApplicationActive); });
    }
}

void TDXTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    restart();
}

void TDXTimer::SetHeld(bool held) {
    if (held == held_) return;
    held_ = held;
    restart();
}

void TDXTimer::SetInterval(int milliseconds) {
    interval_ = std::max(milliseconds, 1);
    restart();
}

void TDXTimer::SetActiveOnly(bool activeOnly) {
    activeOnly_ = activeOnly;
    restart();
}

void TDXTimer::ApplicationActivated(bool active) {
    if (active == active_) return;
    active_ = active;
    restart();
}

void TDXTimer::restart() {
    timer_.stop();
    if (!running()) return;
    lastTick_ = rateStart_ = clock_();
    ticksSinceRateStart_ = 0;
    timer_.start(0);
}

void TDXTimer::Tick() {
    if (!running()) return;
    const int64_t now = clock_();
    const int64_t elapsed = now - lastTick_;
    if (elapsed >= interval_) {
        lastTick_ = now;
        measureRate(now);
        if (OnTimer) {
            try {
                OnTimer(*this, int(std::min<int64_t>(elapsed / interval_, INT32_MAX)));
            } catch (...) {
                if (OnError) OnError(std::current_exception());
            }
        }
    }
    if (running()) timer_.start(int(std::clamp<int64_t>(lastTick_ + interval_ - clock_(), 0, interval_)));
}

void TDXTimer::measureRate(int64_t now) {
    ++ticksSinceRateStart_;
    if (now - rateStart_ < 1000) return;
    frameRate_ = ticksSinceRateStart_ * 1000.0 / double(now - rateStart_);
    rateStart_ = now;
    ticksSinceRateStart_ = 0;
}

}  // namespace grottix
