#include "device/qt/Joystick.h"

#include <SDL.h>
#include <algorithm>

namespace grottix {

TSdlJoystickSource::TSdlJoystickSource() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    initialised_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
}

TSdlJoystickSource::~TSdlJoystickSource() {
    Close();
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool TSdlJoystickSource::Open(int id) {
    Close();
    if (!initialised_) return false;
    SDL_PumpEvents();  // lets SDL notice joysticks plugged in since
    if (id < 0 || id >= SDL_NumJoysticks()) return false;
    joystick_ = SDL_JoystickOpen(id);
    return joystick_ != nullptr;
}

void TSdlJoystickSource::Close() {
    if (joystick_) SDL_JoystickClose(static_cast<SDL_Joystick*>(joystick_));
    joystick_ = nullptr;
}

bool TSdlJoystickSource::Read(TJoystickReading& reading) {
    auto* joystick = static_cast<SDL_Joystick*>(joystick_);
    if (!joystick) return false;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick)) return false;
    const int axes = SDL_JoystickNumAxes(joystick);
    reading.x = axes > 0 ? SDL_JoystickGetAxis(joystick, 0) : 0;
    reading.y = axes > 1 ? SDL_JoystickGetAxis(joystick, 1) : 0;
    reading.z = axes > 2 ? SDL_JoystickGetAxis(joystick, 2) : 0;
    reading.buttons = 0;
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
    for (int i = 0; i < buttons; ++i)
        if (SDL_JoystickGetButton(joystick, i)) reading.buttons |= 1u << i;
    return true;
}

TJoystick::TJoystick() = default;
TJoystick::~TJoystick() = default;

void TJoystick::SetSource(std::unique_ptr<TJoystickSource> source) {
    source_ = std::move(source);
    open_ = false;
    attempted_ = false;
    reset();
}

void TJoystick::reset() {
    x_ = y_ = z_ = 0;
    buttons_ = 0;
}

void TJoystick::Update() {
    if (!source_) source_ = std::make_unique<TSdlJoystickSource>();
    if (!open_) {
        const auto now = std::chrono::steady_clock::now();
        if (attempted_ && now - lastAttempt_ < std::chrono::seconds(2)) return;
        attempted_ = true;
        lastAttempt_ = now;
        open_ = source_->Open(ID);
        if (!open_) return;
    }
    TJoystickReading reading;
    if (!source_->Read(reading)) {
        source_->Close();
        open_ = false;
        reset();
        return;
    }
    x_ = ScaleAxis(reading.x, RangeX, DeadZoneX);
    y_ = ScaleAxis(reading.y, RangeY, DeadZoneY);
    z_ = ScaleAxis(reading.z, RangeZ, DeadZoneZ);
    buttons_ = reading.buttons;
}

}  // namespace grottix
