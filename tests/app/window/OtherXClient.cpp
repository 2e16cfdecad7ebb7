#include "app/window/OtherXClient.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace grottix::test {

namespace {

template <class Reply>
using TReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const TReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

}  // namespace

TOtherXClient::TOtherXClient() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const uint32_t window = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 64, 64, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(connection_, window);
    // The round trip makes sure the server has mapped the window before it is given the focus.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    window_ = window;
}

TOtherXClient::~TOtherXClient() { xcb_disconnect(connection_); }

void TOtherXClient::TakeFocus() { GiveFocus(window_); }

void TOtherXClient::GiveFocus(uint64_t window) {
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, xcb_window_t(window), XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

std::string TOtherXClient::WindowName(uint64_t window) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection_, 0, xcb_window_t(window), atom(connection_, "_NET_WM_NAME"),
                         atom(connection_, "UTF8_STRING"), 0, 1024);
    const TReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       size_t(xcb_get_property_value_length(reply.get())));
}

}  // namespace grottix::test
