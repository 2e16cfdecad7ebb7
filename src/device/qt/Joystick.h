#pragma once
// The joystick part of the input component: its settings, the position read from a joystick
// source (SDL2's joystick subsystem, or a fake one in tests) and the states it contributes.

#include <chrono>
#include <cstdint>
#include <memory>

#include "device/InputStates.h"

namespace grottix {

struct TJoystickReading {
    int x = 0, y = 0, z = 0;  // raw, -32768..32767
    uint32_t buttons = 0;     // bit n: button n + 1
};

class TJoystickSource {
public:
    virtual ~TJoystickSource() = default;
    // Opens the joystick of that index; false when there is none.
    virtual bool Open(int id) = 0;
    virtual void Close() = 0;
    // The current position; false when the joystick has gone.
    virtual bool Read(TJoystickReading& reading) = 0;
};

// Joysticks through SDL2's joystick subsystem alone (no SDL window).
class TSdlJoystickSource : public TJoystickSource {
public:
    TSdlJoystickSource();
    ~TSdlJoystickSource() override;
    bool Open(int id) override;
    void Close() override;
    bool Read(TJoystickReading& reading) override;

private:
    bool initialised_ = false;
    void* joystick_ = nullptr;  // SDL_Joystick
};

class TJoystick {
public:
    TJoystick();
    ~TJoystick();

    bool Enabled = true;
    bool BindInputStates = true;
    int ID = 0;
    int RangeX = 1000, RangeY = 1000, RangeZ = 1000;
    int DeadZoneX = 50, DeadZoneY = 50, DeadZoneZ = 50;  // percent of the range
    bool AutoCenter = true;
    bool ForceFeedback = false;  // no force feedback is driven

    void SetSource(std::unique_ptr<TJoystickSource> source);
    // Reads the joystick (opening it when it is not open, at most once every two seconds).
    void Update();

    bool Present() const { return open_; }
    int X() const { return x_; }
    int Y() const { return y_; }
    int Z() const { return z_; }
    uint32_t Buttons() const { return buttons_; }
    TDXInputStates States() const { return JoystickStates(x_, y_, buttons_); }

private:
    void reset();

    std::unique_ptr<TJoystickSource> source_;
    bool open_ = false;
    std::chrono::steady_clock::time_point lastAttempt_{};
    bool attempted_ = false;
    int x_ = 0, y_ = 0, z_ = 0;
    uint32_t buttons_ = 0;
};

}  // namespace grottix
