// A top-level window: an undecorated GtkWindow exactly the outer rectangle's size, with the
// frame and caption drawn by us and a painted client area inside it. It never closes, minimises
// or restores itself; it tells the program, which decides.
#pragma once

#include <gtk/gtk.h>

#include "EventRouter.h"

namespace platform {

// Fills in window.widget and window.container.
void CreateTopLevel(EventRouter& router, NativeWindow& window, GtkWindow* owner);
// Moves and sizes the window to an outer rectangle in screen coordinates.
void PlaceTopLevel(NativeWindow& window, const Rect& outer);
void SetTopLevelShowState(NativeWindow& window, ShowState state);
// Repaints the frame (the title or the pressed box changed).
void InvalidateCaption(NativeWindow& window);

}  // namespace platform
