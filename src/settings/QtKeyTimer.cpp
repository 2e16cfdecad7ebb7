#include "settings/QtKeyTimer.h"

#include <QTimer>

namespace grottix {

namespace {

class TQtKeyTimer : public TKeyTimer {
public:
    TQtKeyTimer() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (onTimeout_) onTimeout_();
        });
    }

    void Start(std::chrono::milliseconds interval, std::function<void()> onTimeout) override {
        onTimeout_ = std::move(onTimeout);
        timer_.start(interval);
    }

    void Stop() override { timer_.stop(); }

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};

}  // namespace

TKeyTimerFactory QtKeyTimers() {
    return [] { return std::make_unique<TQtKeyTimer>(); };
}

}  // namespace grottix
