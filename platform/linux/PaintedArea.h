// The client area of a top-level window and every canvas: a GtkFixed with a window of its own
// whose background the program paints (OnPaint into a Bitmap, then shown with cairo) and whose
// pointer input goes to the program. Children are placed on it in its own pixels; its size is
// what was asked for, never grown by children standing out of it.
#pragma once

#include <gtk/gtk.h>

#include "EventRouter.h"

namespace platform {

GtkWidget* CreatePaintedArea(EventRouter& router, WindowHandle handle);

// A child that covers every pixel of its allocation (the video) wears this mark; a painted area
// paints nothing under it, so a new video frame costs no repaint of the background beneath.
void MarkPaintsWholeAllocation(GtkWidget* widget);

}  // namespace platform
