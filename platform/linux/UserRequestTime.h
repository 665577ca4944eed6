// The time stamp that tells a window manager a window is raised because the user asked for it.
// Kept apart so X11's macros reach no other file.
#pragma once

#include <cstdint>

typedef struct _GtkWidget GtkWidget;

namespace platform {

// On X11: the server's time now, also set as the window's last user time. The request reached
// us from another process (a second start), so no event of ours carries the user's time, and a
// window manager that prevents focus stealing compares the request with the focused window's
// last use and with ours; this is what GTK does with a launcher's start-up time stamp.
// GDK_CURRENT_TIME elsewhere, where the toolkit finds its own token.
uint32_t StampUserRequest(GtkWidget* topLevel);

}  // namespace platform
