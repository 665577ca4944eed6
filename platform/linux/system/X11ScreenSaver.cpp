#include "X11ScreenSaver.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <gdk/gdk.h>
#include <gdk/gdkx.h>

namespace platform {

bool SuspendX11ScreenSaver(bool suspend) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
    Display* x = gdk_x11_display_get_xdisplay(display);
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // Suspension came with version 1.1 of the extension.
    if (!XScreenSaverQueryExtension(x, &eventBase, &errorBase) || !XScreenSaverQueryVersion(x, &major, &minor) ||
        (major < 1 || (major == 1 && minor < 1)))
        return false;
    XScreenSaverSuspend(x, suspend ? True : False);
    XFlush(x);
    return true;
}

}  // namespace platform
