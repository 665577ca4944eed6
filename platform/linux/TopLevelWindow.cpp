#include "TopLevelWindow.h"

#include <algorithm>
#include <cmath>

#include "BitmapCairo.h"
#include "CaptionFrame.h"
#include "PaintedArea.h"
#include "VirtualKeys.h"
#include "platform/Strings.h"

namespace platform {
namespace {

constexpr size_t kMaxPendingMoves = 16;

Point ToPoint(double x, double y) { return {int(std::floor(x)), int(std::floor(y))}; }

// Events on the top-level's own GdkWindow, which shows only the frame. Events of the client area
// and of the children bubble up here too when nobody took them there.
bool IsFrameEvent(GtkWidget* widget, GdkWindow* window) { return window == gtk_widget_get_window(widget); }

NativeWindow* WindowOf(gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    return binding->router->Find(binding->handle);
}

void MoveTo(NativeWindow& window, Point topLeft) {
    // Staying put brings no configure event to wait for.
    if (topLeft != Point{window.rect.left, window.rect.top}) window.pendingMoves.push_back(topLeft);
    if (window.pendingMoves.size() > kMaxPendingMoves) window.pendingMoves.pop_front();
    window.rect = Rect::FromXYWH(topLeft.x, topLeft.y, window.rect.Width(), window.rect.Height());
    gtk_window_move(GTK_WINDOW(window.widget), topLeft.x, topLeft.y);
}

gboolean OnDrawFrame(GtkWidget* widget, cairo_t* cr, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    NativeWindow* window = WindowOf(data);
    if (!window || !window->hasCaption || !gtk_cairo_should_draw_window(cr, gtk_widget_get_window(widget)))
        return FALSE;
    const int width = gtk_widget_get_allocated_width(widget), height = gtk_widget_get_allocated_height(widget);
    const Rect client = ClientArea(Rect{0, 0, width, height}, true);
    // Most redraws are for something inside the client area (a video frame): no frame to paint.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    if (x1 >= client.left && y1 >= client.top && x2 <= client.right && y2 <= client.bottom) return FALSE;

    Bitmap frame(width, height);
    Surface surface(frame, binding->router->Text());
    PaintCaptionFrame(surface, {window->text, window->minimizeBox, bool(gtk_window_is_active(GTK_WINDOW(widget))),
                                window->pressedInside ? window->pressedPart : CaptionPart::None});
    // Only the frame: the client area draws itself.
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, 0, 0, frame.Width(), frame.Height());
    cairo_rectangle(cr, client.left, client.top, client.Width(), client.Height());
    cairo_clip(cr);
    PaintBitmap(cr, frame, 0, 0);
    cairo_restore(cr);
    return FALSE;
}

gboolean OnFramePress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    NativeWindow* window = WindowOf(data);
    if (!window || !window->hasCaption || !IsFrameEvent(widget, event->window)) return FALSE;
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_PRIMARY) return TRUE;
    const CaptionPart part = HitTestCaption({window->rect.Width(), window->rect.Height()}, window->minimizeBox,
                                            ToPoint(event->x, event->y));
    if (part == CaptionPart::None) return TRUE;
    if (part == CaptionPart::Caption) {
        window->dragging = true;
        window->dragStartPointer = window->dragLastPointer = ToPoint(event->x_root, event->y_root);
        window->dragStartRect = window->rect;
    } else {
        window->pressedPart = part;
        window->pressedInside = true;
        InvalidateCaption(*window);
    }
    return TRUE;
}

// The pointer moved while the left button, pressed on the caption, is held.
bool FollowPointer(Binding* binding, NativeWindow* window, Point inWindow, Point pointer) {
    if (window->pressedPart != CaptionPart::None) {
        const bool inside =
            HitTestCaption({window->rect.Width(), window->rect.Height()}, window->minimizeBox, inWindow) == window->pressedPart;
        if (inside != window->pressedInside) {
            window->pressedInside = inside;
            InvalidateCaption(*window);
        }
        return true;
    }
    if (!window->dragging) return false;
    if (pointer == window->dragLastPointer) return true;  // a crossing right after its motion
    window->dragLastPointer = pointer;

    Rect proposed = window->dragStartRect.Offset(pointer.x - window->dragStartPointer.x,
                                                 pointer.y - window->dragStartPointer.y);
    const WindowHandle handle = binding->handle;
    if (IUiEvents* sink = binding->router->SinkFor(handle)) sink->OnMoving(handle, proposed);
    window = binding->router->Find(handle);  // the program may have destroyed it
    if (!window) return true;
    if (Point{proposed.left, proposed.top} == Point{window->rect.left, window->rect.top}) return true;
    MoveTo(*window, {proposed.left, proposed.top});
    if (IUiEvents* sink = binding->router->SinkFor(handle)) sink->OnMoved(handle);
    return true;
}

gboolean OnFrameMotion(GtkWidget* widget, GdkEventMotion* event, gpointer data) {
    NativeWindow* window = WindowOf(data);
    if (!window || !IsFrameEvent(widget, event->window)) return FALSE;
    return FollowPointer(static_cast<Binding*>(data), window, ToPoint(event->x, event->y),
                         ToPoint(event->x_root, event->y_root));
}

// A motion that takes the pointer between the frame and the client area reaches GTK as a
// crossing only, so crossings move the window too.
gboolean OnFrameCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer data) {
    NativeWindow* window = WindowOf(data);
    if (!window || !IsFrameEvent(widget, event->window)) return FALSE;
    FollowPointer(static_cast<Binding*>(data), window, ToPoint(event->x, event->y),
                  ToPoint(event->x_root, event->y_root));
    return FALSE;
}

gboolean OnFrameRelease(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    NativeWindow* window = WindowOf(data);
    if (!window || !IsFrameEvent(widget, event->window) || event->button != GDK_BUTTON_PRIMARY) return FALSE;
    window->dragging = false;
    const CaptionPart pressed = window->pressedPart;
    const bool inside = window->pressedInside;
    window->pressedPart = CaptionPart::None;
    window->pressedInside = false;
    if (pressed == CaptionPart::None) return TRUE;
    InvalidateCaption(*window);
    if (!inside) return TRUE;
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle))
        sink->OnSysCommand(binding->handle, pressed == CaptionPart::CloseBox ? SysCommand::Close : SysCommand::Minimize);
    return TRUE;
}

gboolean OnGrabBroken(GtkWidget*, GdkEvent*, gpointer data) {
    if (NativeWindow* window = WindowOf(data)) {
        window->dragging = false;
        if (window->pressedPart != CaptionPart::None) InvalidateCaption(*window);
        window->pressedPart = CaptionPart::None;
        window->pressedInside = false;
    }
    return FALSE;
}

gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    NativeWindow* window = WindowOf(data);
    if (!window) return FALSE;
    const Point at{event->x, event->y};
    auto& pending = window->pendingMoves;
    if (auto it = std::find(pending.begin(), pending.end(), at); it != pending.end()) {
        pending.erase(pending.begin(), it + 1);
        return FALSE;
    }
    if (at == Point{window->rect.left, window->rect.top}) return FALSE;
    // Someone else (a window manager) moved it.
    window->rect = Rect::FromXYWH(at.x, at.y, window->rect.Width(), window->rect.Height());
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle)) sink->OnMoved(binding->handle);
    return FALSE;
}

gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    NativeWindow* window = WindowOf(data);
    if (!window || !(event->changed_mask & GDK_WINDOW_STATE_ICONIFIED)) return FALSE;
    const bool iconified = event->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
    const ShowState now = iconified ? ShowState::Minimized : ShowState::Normal;
    if (window->showState == now) return FALSE;  // the change we asked for
    // The task bar or the window manager did it: the window is in that state now, and the
    // program hears of it as of the matching caption command.
    window->showState = now;
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle))
        sink->OnSysCommand(binding->handle, iconified ? SysCommand::Minimize : SysCommand::Restore);
    return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle)) sink->OnSysCommand(binding->handle, SysCommand::Close);
    return TRUE;  // closing is the program's decision
}

gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    IUiEvents* sink = binding->router->SinkFor(binding->handle);
    if (!sink) return FALSE;
    WindowHandle target = binding->handle;
    if (GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(widget))) {
        const Binding* focused = EventRouter::BindingOf(focus);
        if (focused && binding->router->Find(focused->handle)) target = focused->handle;
    }
    return sink->OnKeyDown(target, VirtualKeyFromEvent(*event)) ? TRUE : FALSE;
}

void OnActiveChanged(GObject*, GParamSpec*, gpointer data) {
    if (NativeWindow* window = WindowOf(data)) InvalidateCaption(*window);
}

}  // namespace

void CreateTopLevel(EventRouter& router, NativeWindow& window, GtkWindow* owner) {
    GtkWidget* widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    window.widget = widget;
    GtkWindow* gtkWindow = GTK_WINDOW(widget);
    gtk_window_set_decorated(gtkWindow, FALSE);
    gtk_window_set_resizable(gtkWindow, FALSE);
    gtk_window_set_title(gtkWindow, ToUtf8(window.text).c_str());
    if (owner) {
        gtk_window_set_transient_for(gtkWindow, owner);
        gtk_window_set_skip_taskbar_hint(gtkWindow, TRUE);
    }
    gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_STRUCTURE_MASK |
                                      GDK_KEY_PRESS_MASK);

    Binding* binding = router.Bind(widget, window.handle);
    g_signal_connect_after(widget, "draw", G_CALLBACK(OnDrawFrame), binding);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(OnFramePress), binding);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnFrameMotion), binding);
    g_signal_connect(widget, "enter-notify-event", G_CALLBACK(OnFrameCrossing), binding);
    g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnFrameCrossing), binding);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(OnFrameRelease), binding);
    g_signal_connect(widget, "grab-broken-event", G_CALLBACK(OnGrabBroken), binding);
    g_signal_connect(widget, "configure-event", G_CALLBACK(OnConfigure), binding);
    g_signal_connect(widget, "window-state-event", G_CALLBACK(OnWindowState), binding);
    g_signal_connect(widget, "delete-event", G_CALLBACK(OnDelete), binding);
    g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKeyPress), binding);
    g_signal_connect(widget, "notify::is-active", G_CALLBACK(OnActiveChanged), binding);

    GtkWidget* client = CreatePaintedArea(router, window.handle);
    gtk_widget_set_halign(client, GTK_ALIGN_START);
    gtk_widget_set_valign(client, GTK_ALIGN_START);
    gtk_container_add(GTK_CONTAINER(widget), client);
    gtk_widget_show(client);
    window.container = client;
    PlaceTopLevel(window, window.rect);
}

void PlaceTopLevel(NativeWindow& window, const Rect& outer) {
    const Rect client = ClientArea(outer, window.hasCaption);
    gtk_widget_set_margin_start(window.container, client.left);
    gtk_widget_set_margin_top(window.container, client.top);
    gtk_widget_set_size_request(window.container, std::max(0, client.Width()), std::max(0, client.Height()));
    gtk_widget_set_size_request(window.widget, std::max(1, outer.Width()), std::max(1, outer.Height()));
    gtk_window_resize(GTK_WINDOW(window.widget), std::max(1, outer.Width()), std::max(1, outer.Height()));
    MoveTo(window, {outer.left, outer.top});
    window.rect = outer;
}

void SetTopLevelShowState(NativeWindow& window, ShowState state) {
    window.showState = state;
    if (state == ShowState::Minimized) gtk_window_iconify(GTK_WINDOW(window.widget));
    else gtk_window_deiconify(GTK_WINDOW(window.widget));
}

void InvalidateCaption(NativeWindow& window) {
    if (window.hasCaption) gtk_widget_queue_draw_area(window.widget, 0, 0, window.rect.Width(), kFrameBorder + kCaptionHeight);
}

}  // namespace platform
