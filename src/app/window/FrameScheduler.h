#pragma once
// When the main window draws. Frames drawn back to back keep a core busy, so they run continuously
// only while something moves: input held (keys, joystick), the eye changed since the last frame,
// scene actions running, or (in an active window) an animated item standing in a room drawn.
// Otherwise both frame sources are held, and one frame is drawn for user
// input, a change of the view's size or a changed option (Request), and when the level's animated
// textures reach their next step, if any of them is in view; such a step redraws only the screen
// area of the animated faces. An idle window with no level does nothing at all; with a level it
// wakes for those steps and a slow poll of the joystick.

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

#include "viewer/EyeMovement.h"
#include "device/D3DTypes.h"
#include "device/InputStates.h"

namespace grottix {

class TDXTimer;
class TGrottixViewerScene;
class TThreadComponent;

class TFrameScheduler : public QObject {
public:
    // The two frame sources it holds while nothing moves; they start held.
    TFrameScheduler(TDXTimer& timer, TThreadComponent& thread);

    // Draws one frame when a request or the animation wakes the window. For a step of the animation
    // with nothing else changed, area is the part of the screen to draw again; otherwise null.
    std::function<void(const TD3DRect* area)> OnFrame;
    // Polls the input devices and tells whether any input is held; asked while idle and polling.
    std::function<bool()> OnPollInput;
    // Whether a widget or window belongs to the view: dragging the mouse over it, its wheel and its
    // resizing ask for a frame. Key presses, mouse clicks anywhere in the program and coming back
    // to the program always do.
    std::function<bool(QObject*)> IsView;

    // One frame soon (nothing more while frames run continuously).
    void Request();
    // After every frame: scene and input decide whether frames keep coming and, if not, when the
    // scene changes by itself next. The animation only wakes an active window, and only when an
    // animated face shows on the screen (the eye stands still until the next wake).
    void FrameDrawn(TGrottixViewerScene& scene, const TDXInputStates& held, bool active);
    // A frame that could not be drawn (no display, a level loading): nothing runs until a request.
    void FrameSkipped();
    // Polls the input (OnPollInput) ten times a second while idle: the joystick has no events.
    void SetPolling(bool on);

    bool Continuous() const { return continuous_; }
    uint64_t Frames() const { return frames_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setContinuous(bool on);
    void wakeIn(double seconds);
    void poll();

    TDXTimer& timer_;
    TThreadComponent& thread_;
    QTimer wake_, poll_;
    bool continuous_ = false;
    bool polling_ = false;
    uint64_t frames_ = 0;
    std::optional<TEyePlace> lastEye_;
    std::optional<TD3DRect> animatedArea_;  // while only the animation's next step is due
};

}  // namespace grottix
