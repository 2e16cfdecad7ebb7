#pragma once
// Another program on the X server, as the window manager or the next window of an Alt+Tab would
// be: it owns a window of its own, moves the keyboard focus between windows and reads the
// caption the server shows for a window.

#include <cstdint>
#include <string>

struct xcb_connection_t;

namespace grottix::test {

class TOtherXClient {
public:
    // Connects to $DISPLAY and maps a small window of its own.
    TOtherXClient();
    ~TOtherXClient();
    TOtherXClient(const TOtherXClient&) = delete;
    TOtherXClient& operator=(const TOtherXClient&) = delete;

    bool Connected() const { return window_ != 0; }
    // Gives the keyboard focus to this client's window (the user switched to another program).
    void TakeFocus();
    // Gives the keyboard focus to `window` (a window manager activating it).
    void GiveFocus(uint64_t window);
    // The window's _NET_WM_NAME as the server holds it.
    std::string WindowName(uint64_t window);

private:
    xcb_connection_t* connection_ = nullptr;
    uint32_t window_ = 0;
};

}  // namespace grottix::test
