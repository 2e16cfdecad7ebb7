#include "app/window/FrameScheduler.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "viewer/PartialFrame.h"
#include "app/window/ThreadComponent.h"
#include "viewer/ViewerScene.h"
#include "device/qt/DXTimer.h"
#include "import/TextureAnimator.h"

namespace grottix {

namespace {

constexpr int kPollMilliseconds = 100;

}  // namespace

TFrameScheduler::TFrameScheduler(TDXTimer& timer, TThreadComponent& thread) : timer_(timer), thread_(thread) {
    timer_.SetHeld(true);
    thread_.SetHeld(true);
    wake_.setSingleShot(true);
    // A step of the animation drawn early would show the old step and wake again at once.
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, [this] {
        if (continuous_ || !OnFrame) return;
        const std::optional<TD3DRect> area = std::exchange(animatedArea_, std::nullopt);
        OnFrame(area ? &*area : nullptr);
    });
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, [this] { poll(); });
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    // Coming back to the program resumes the animation, which only wakes an active window.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive) Request();
        });
}

void TFrameScheduler::Request() {
    if (continuous_) return;
    animatedArea_.reset();
    wake_.start(0);
}

void TFrameScheduler::FrameDrawn(TGrottixViewerScene& scene, const TDXInputStates& held, bool active) {
    ++frames_;
    const TEyePlace eye{scene.GetCameraPosition(), scene.GetCameraRotation()};
    const bool eyeMoved = lastEye_ && *lastEye_ != eye;
    lastEye_ = eye;
    setContinuous(!held.Empty() || eyeMoved || !scene.Actions.empty() || (active && scene.ItemsMoveInView()));
    animatedArea_.reset();
    if (continuous_ || !active || !scene.TextureAnimator || scene.TextureAnimator->Empty()) return;
    const TD3DRect area = AnimatedArea(scene);
    if (area.x1 >= area.x2) return;
    animatedArea_ = area;
    wakeIn(scene.TextureAnimator->SecondsToNextStep(scene.LevelTime()));
}

void TFrameScheduler::FrameSkipped() {
    setContinuous(false);
    animatedArea_.reset();
    wake_.stop();
}

void TFrameScheduler::SetPolling(bool on) {
    polling_ = on;
    if (on && !continuous_) poll_.start();
    else poll_.stop();
}

void TFrameScheduler::setContinuous(bool on) {
    if (on == continuous_) return;
    continuous_ = on;
    timer_.SetHeld(!on);
    thread_.SetHeld(!on);
    if (on) {
        animatedArea_.reset();
        wake_.stop();
        poll_.stop();
    } else if (polling_) {
        poll_.start();
    }
}

void TFrameScheduler::wakeIn(double seconds) {
    if (!(seconds < std::numeric_limits<double>::infinity())) return;
    // One millisecond late rather than early; never more than a minute ahead.
    const double milliseconds = std::clamp(std::ceil(seconds * 1000) + 1, 0.0, 60000.0);
    wake_.start(int(milliseconds));
}

void TFrameScheduler::poll() {
    if (!continuous_ && OnPollInput && OnPollInput()) Request();
}

bool TFrameScheduler::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) Request();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: Request(); break;
        case QEvent::MouseMove:
            // A pointer passing over the view changes nothing; a drag may turn the eye.
            if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton && IsView && IsView(watched)) Request();
            break;
        case QEvent::Wheel:
        case QEvent::Resize:
        case QEvent::Show:
            if (IsView && IsView(watched)) Request();
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace grottix
