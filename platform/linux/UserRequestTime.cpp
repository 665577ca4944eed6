#include "UserRequestTime.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace platform {

uint32_t StampUserRequest(GtkWidget* topLevel) {
    GdkWindow* window = gtk_widget_get_window(topLevel);
    if (!window || !GDK_IS_X11_WINDOW(window)) return GDK_CURRENT_TIME;
    const guint32 now = gdk_x11_get_server_time(window);
    gdk_x11_window_set_user_time(window, now);
    return now;
}

}  // namespace platform
