#pragma once
// While full screen, the desktop is asked not to start the screen saver (the freedesktop
// ScreenSaver service on the session bus, when there is one; without it nothing happens).

#include <cstdint>
#include <optional>

namespace grottix {

class TScreenSaverInhibitor {
public:
    ~TScreenSaverInhibitor() { Release(); }

    // Asks for the inhibition; true when the desktop granted it.
    bool Inhibit();
    // Gives a granted inhibition back.
    void Release();
    bool Active() const { return cookie_.has_value(); }

private:
    std::optional<uint32_t> cookie_;
};

}  // namespace grottix
