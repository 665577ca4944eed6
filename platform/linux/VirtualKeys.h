// GDK key events as the classic virtual-key codes the program tests for.
#pragma once

#include <gdk/gdk.h>

namespace platform {

// The key as on an unshifted keyboard, so Shift+Tab is still Tab and Shift+A still 'A'.
// Keys without a code of their own come through as their GDK keyval.
int VirtualKeyFromKeyval(guint keyval);
int VirtualKeyFromEvent(const GdkEventKey& event);

}  // namespace platform
