#include "GtkTestSupport.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gdk/gdkx.h>

#include <chrono>

namespace vt {
namespace {
Display* XDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }
}  // namespace

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // A heartbeat, so a blocking iteration returns to look at the clock.
    const guint heartbeat = g_timeout_add(5, [](gpointer) { return gboolean(G_SOURCE_CONTINUE); }, nullptr);
    while (!done() && std::chrono::steady_clock::now() < deadline) g_main_context_iteration(nullptr, TRUE);
    g_source_remove(heartbeat);
    return done();
}

void Settle() {
    gdk_display_sync(gdk_display_get_default());
    PumpUntil([] { return !g_main_context_pending(nullptr); }, 1000);
}

void MovePointer(Point screen) {
    XTestFakeMotionEvent(XDisplay(), -1, screen.x, screen.y, CurrentTime);
    XFlush(XDisplay());
}

void PressButton(int button, bool down) {
    XTestFakeButtonEvent(XDisplay(), unsigned(button), down, CurrentTime);
    XFlush(XDisplay());
}

void Click(Point screen, int button) {
    MovePointer(screen);
    PressButton(button, true);
    PressButton(button, false);
}

void ReleaseHeldButtons() {
    Window root = 0, child = 0;
    int rx = 0, ry = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(XDisplay(), DefaultRootWindow(XDisplay()), &root, &child, &rx, &ry, &x, &y, &mask);
    for (auto [button, held] : {std::pair{1, Button1Mask}, {2, Button2Mask}, {3, Button3Mask}})
        if (mask & held) PressButton(button, false);
}

void PressKey(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(XDisplay(), keysym);
    XTestFakeKeyEvent(XDisplay(), code, True, CurrentTime);
    XTestFakeKeyEvent(XDisplay(), code, False, CurrentTime);
    XFlush(XDisplay());
}

Color ScreenPixel(Point screen) {
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), screen.x, screen.y, 1, 1);
    if (!pixbuf) return {};
    const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
    const Color c{p[0], p[1], p[2]};
    g_object_unref(pixbuf);
    return c;
}

Point ScreenOrigin(GtkWidget* widget) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    GdkWindow* topWindow = gtk_widget_get_window(top);
    if (!topWindow) return {-1, -1};
    int ox = 0, oy = 0, x = 0, y = 0;
    gdk_window_get_origin(topWindow, &ox, &oy);
    gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y);
    return {ox + x, oy + y};
}

WindowHandle GtkHostTest::TopLevel(Rect outer, bool caption, bool minimizeBox) {
    platform::CreateParams params;
    params.kind = platform::WindowKind::TopLevel;
    params.rect = outer;
    params.text = L"Vistrel test";
    params.hasCaption = caption;
    params.minimizeBox = minimizeBox;
    const WindowHandle h{m_next++};
    EXPECT_TRUE(host.CreateWindow(h, params));
    return h;
}

WindowHandle GtkHostTest::Child(WindowHandle parent, platform::WindowKind kind, Rect rect, std::wstring text,
                                bool startsGroup) {
    platform::CreateParams params;
    params.kind = kind;
    params.parent = parent;
    params.rect = rect;
    params.text = std::move(text);
    params.visible = true;
    params.startsGroup = startsGroup;
    const WindowHandle h{m_next++};
    EXPECT_TRUE(host.CreateWindow(h, params));
    return h;
}

void GtkHostTest::ShowAndWait(WindowHandle topLevel) {
    host.SetVisible(topLevel, true);
    GtkWidget* window = Widget(topLevel);
    const Rect outer = host.GetRect(topLevel);
    ASSERT_TRUE(PumpUntil([&] {
        return gtk_widget_get_mapped(window) && ScreenOrigin(window) == Point{outer.left, outer.top} && sink.paints > 0;
    })) << "the window was never shown where it was asked to be";
    Settle();
}

Point GtkHostTest::CentreOf(WindowHandle child) {
    const Point origin = ScreenOrigin(Widget(child));
    const Rect r = host.GetRect(child);
    return {origin.x + r.Width() / 2, origin.y + r.Height() / 2};
}

}  // namespace vt
