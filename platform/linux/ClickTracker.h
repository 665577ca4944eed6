// Tells which press is the second click of a double-click, as the classic window system does:
// the same button on the same window as the press before, soon enough and near enough. GTK's
// own 2BUTTON_PRESS comes as an extra event after the second press, too late to mark that press.
#pragma once

#include <cstdint>

#include "platform/UiHost.h"

namespace platform {

class ClickTracker {
public:
    struct Limits {
        uint32_t timeMs = 400;
        int distance = 5;  // pixels, in each direction
    };

    // timeMs is the event's server time (it wraps); screen is the pointer in screen pixels.
    [[nodiscard]] bool Press(WindowHandle window, MouseButton button, uint32_t timeMs, Point screen,
                             const Limits& limits);

private:
    bool m_haveFirst = false;
    WindowHandle m_window;
    MouseButton m_button = MouseButton::Left;
    uint32_t m_time = 0;
    Point m_point;
};

}  // namespace platform
