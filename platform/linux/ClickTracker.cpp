#include "ClickTracker.h"

#include <cstdlib>

namespace platform {

bool ClickTracker::Press(WindowHandle window, MouseButton button, uint32_t timeMs, Point screen,
                         const Limits& limits) {
    const bool isSecond = m_haveFirst && window == m_window && button == m_button &&
                          timeMs - m_time <= limits.timeMs &&
                          std::abs(screen.x - m_point.x) <= limits.distance &&
                          std::abs(screen.y - m_point.y) <= limits.distance;
    if (isSecond) {
        // A third quick press starts a new pair instead of making a triple.
        m_haveFirst = false;
        return true;
    }
    m_haveFirst = true;
    m_window = window;
    m_button = button;
    m_time = timeMs;
    m_point = screen;
    return false;
}

}  // namespace platform
