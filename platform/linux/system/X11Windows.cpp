#include "X11Windows.h"

#include <gdk/gdkx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <vector>

namespace platform {
namespace {

struct XFreeDeleter {
    void operator()(void* p) const { if (p) XFree(p); }
};
template <class T>
using XPtr = std::unique_ptr<T, XFreeDeleter>;

Display* X11Display() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return nullptr;  // Wayland: no foreign windows to see
    return GDK_DISPLAY_XDISPLAY(display);
}

// A window property of 32-bit items (windows, atoms, cardinals) as a list.
std::vector<unsigned long> Property(Display* x, Window window, const char* name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom atom = XInternAtom(x, name, True);
    if (atom == None || XGetWindowProperty(x, window, atom, 0, 4096, False, type, &actualType, &format, &count, &after,
                                           &data) != Success)
        return {};
    XPtr<unsigned char> owned(data);
    if (!data || format != 32) return {};
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    return {items, items + count};
}

std::vector<unsigned long> TopLevels(Display* x) {
    const Window root = DefaultRootWindow(x);
    std::vector<unsigned long> windows = Property(x, root, "_NET_CLIENT_LIST", XA_WINDOW);
    if (!windows.empty()) return windows;
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(x, root, &rootReturn, &parent, &children, &count)) return {};
    XPtr<Window> owned(children);
    return {children, children + count};
}

std::string Title(Display* x, Window window) {
    XTextProperty text{};
    const Atom netName = XInternAtom(x, "_NET_WM_NAME", True);
    if (netName != None && XGetTextProperty(x, window, &text, netName) && text.value) {
        XPtr<unsigned char> owned(text.value);
        return {reinterpret_cast<const char*>(text.value), text.nitems};
    }
    char* name = nullptr;
    if (!XFetchName(x, window, &name) || !name) return {};
    XPtr<char> owned(name);
    return name;
}

bool HasClass(Display* x, Window window, const std::string& windowClass) {
    XClassHint hint{};
    if (!XGetClassHint(x, window, &hint)) return false;
    XPtr<char> name(hint.res_name);
    XPtr<char> cls(hint.res_class);
    return hint.res_class && windowClass == hint.res_class;
}

}  // namespace

std::optional<ViewerWindow> FindX11Window(const std::string& windowClass, const std::string& title) {
    Display* x = X11Display();
    if (!x) return std::nullopt;
    for (unsigned long window : TopLevels(x)) {
        if (!HasClass(x, window, windowClass) || Title(x, window) != title) continue;
        const Atom wmState = XInternAtom(x, "WM_STATE", True);
        const std::vector<unsigned long> state = wmState != None ? Property(x, window, "WM_STATE", wmState) : std::vector<unsigned long>{};
        return ViewerWindow{window, !state.empty() && state.front() == IconicState};
    }
    return std::nullopt;
}

void ShowX11Window(uint64_t id, bool restore) {
    Display* x = X11Display();
    if (!x) return;
    const auto window = static_cast<Window>(id);
    if (restore) XMapRaised(x, window); else XRaiseWindow(x, window);
    // A window manager decides stacking and focus itself; it is asked as pagers ask it.
    const Atom active = XInternAtom(x, "_NET_ACTIVE_WINDOW", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = active;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;  // from a pager: the request is the user's
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, DefaultRootWindow(x), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(x);
}

}  // namespace platform
