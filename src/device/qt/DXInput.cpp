#include "device/qt/DXInput.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "device/qt/KeyMapping.h"

namespace grottix {

void TKeyboard::KeyDown(int virtualKey) {
    if (virtualKey > 0 && virtualKey < 256) down_.set(size_t(virtualKey));
}

void TKeyboard::KeyUp(int virtualKey) {
    if (virtualKey > 0 && virtualKey < 256) down_.reset(size_t(virtualKey));
}

void TMouse::Moved(QPointF position) {
    if (known_) moved_ += position - last_;
    last_ = position;
    known_ = true;
}

TDXInputStates TMouse::TakeStates() {
    TDXInputStates states;
    if (moved_.x() < 0) states.Include(InputLeft);
    if (moved_.x() > 0) states.Include(InputRight);
    if (moved_.y() < 0) states.Include(InputUp);
    if (moved_.y() > 0) states.Include(InputDown);
    if (buttons_ & Qt::LeftButton) states.Include(InputButton1);
    if (buttons_ & Qt::RightButton) states.Include(InputButton2);
    if (buttons_ & Qt::MiddleButton) states.Include(InputButton3);
    moved_ = QPointF();
    return states;
}

TDXInput::TDXInput(QObject* parent) : QObject(parent) {
    foreground_ = [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; };
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            // Key releases made elsewhere never reach us, so nothing stays held.
            if (state != Qt::ApplicationActive) {
                Keyboard.ReleaseAll();
                pressedByScanCode_.clear();
            }
        });
}

void TDXInput::Update() {
    states_ = TDXInputStates();
    if (!foreground_()) {
        Mouse.TakeStates();
        return;
    }
    if (Keyboard.Enabled && Keyboard.BindInputStates) states_ |= Keyboard.States();
    const TDXInputStates mouse = Mouse.TakeStates();
    if (Mouse.Enabled && Mouse.BindInputStates) states_ |= mouse;
    if (Joystick.Enabled) {
        Joystick.Update();
        if (Joystick.BindInputStates) states_ |= Joystick.States();
    }
}

// A key is released under the code it was pressed with, even when a modifier changed its Qt key in
// between (Shift+1 pressed as "1", released as "!").
bool TDXInput::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            if (event->type() == QEvent::KeyPress && keyPress_ && !keyPress_()) break;
            int code = VirtualKeyOf(key->key(), key->modifiers());
            const quint32 scanCode = key->nativeScanCode();
            if (event->type() == QEvent::KeyPress) {
                if (scanCode) pressedByScanCode_[scanCode] = code;
                Keyboard.KeyDown(code);
            } else {
                if (const auto pressed = pressedByScanCode_.find(scanCode); scanCode && pressed != pressedByScanCode_.end()) {
                    code = pressed->second;
                    pressedByScanCode_.erase(pressed);
                }
                Keyboard.KeyUp(code);
            }
            break;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            Mouse.Moved(mouse->globalPosition());
            Mouse.Button(mouse->buttons());
            break;
        }
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace grottix
