// Other programs' top-level windows on an X11 desktop, found by class and title through the
// window manager's client list (or the root's children where no window manager runs).
#pragma once

#include <optional>
#include <string>

#include "platform/Shell.h"

namespace platform {

std::optional<ViewerWindow> FindX11Window(const std::string& windowClass, const std::string& title);
// Maps a minimised window again (restore) or raises it, and asks the window manager to activate it.
void ShowX11Window(uint64_t id, bool restore);

}  // namespace platform
