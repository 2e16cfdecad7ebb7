#pragma once
// TDXInput: keyboard, mouse and joystick folded into the input state set. Keys and mouse come from
// Qt events seen by an application-wide event filter; the joystick is polled on Update. While the
// application is not in the foreground the state set is empty.

#include <QObject>
#include <QPointF>
#include <functional>
#include <unordered_map>

#include "device/InputStates.h"
#include "device/qt/Joystick.h"

namespace grottix {

class TKeyboard {
public:
    bool Enabled = true;
    bool BindInputStates = true;
    TKeyAssignList KeyAssigns{};

    bool Keys(int virtualKey) const { return virtualKey > 0 && virtualKey < 256 && down_.test(size_t(virtualKey)); }
    void KeyDown(int virtualKey);
    void KeyUp(int virtualKey);
    void ReleaseAll() { down_.reset(); }
    TDXInputStates States() const { return KeyboardStates(KeyAssigns, down_); }

private:
    TKeyDownTable down_;
};

// Mouse movement since the last update gives the directions, the left, right and middle buttons
// InputButton1 to InputButton3.
class TMouse {
public:
    bool Enabled = true;
    bool BindInputStates = true;

    void Moved(QPointF globalPosition);
    void Button(Qt::MouseButtons buttons) { buttons_ = buttons; }
    // The states of the movement since the last call, which starts a new one.
    TDXInputStates TakeStates();

private:
    bool known_ = false;
    QPointF last_, moved_;
    Qt::MouseButtons buttons_;
};

class TDXInput : public QObject {
    Q_OBJECT
public:
    explicit TDXInput(QObject* parent = nullptr);

    TKeyboard Keyboard;
    TMouse Mouse;
    TJoystick Joystick;

    // Polls every enabled device and rebuilds the state set.
    void Update();
    TDXInputStates States() const { return states_; }

    // How the component learns whether the application is in the foreground (tests replace it).
    void SetForegroundQuery(std::function<bool()> query) { foreground_ = std::move(query); }
    // Whether a key press now counts: the window says no while one of its text boxes or tables has the
    // keyboard, so that typing a filter does not walk. Releases always count, so no key stays held.
    void SetKeyPressQuery(std::function<bool()> query) { keyPress_ = std::move(query); }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> foreground_;
    std::function<bool()> keyPress_;
    TDXInputStates states_;
    std::unordered_map<quint32, int> pressedByScanCode_;
};

}  // namespace grottix
