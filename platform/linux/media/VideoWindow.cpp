#include "VideoWindow.h"

#include "GtkUiHost.h"
#include "VideoRendererFilter.h"
#include "VirtualKeys.h"

namespace platform::gst {
namespace {

void MoveWidget(GtkWidget* widget, GtkWidget* container) {
    GtkWidget* parent = gtk_widget_get_parent(widget);
    if (parent == container) return;
    auto keep = RefGRef(widget);  // while it has no container
    if (parent) gtk_container_remove(GTK_CONTAINER(parent), widget);
    if (GTK_IS_FIXED(container))
        gtk_fixed_put(GTK_FIXED(container), widget, 0, 0);
    else
        gtk_container_add(GTK_CONTAINER(container), widget);
}

}  // namespace

VideoWindow::~VideoWindow() {
    DisconnectInput();
    if (m_renderer) m_renderer->ReturnWidget();
    if (m_fullScreen) gtk_widget_destroy(m_fullScreen);
}

void VideoWindow::SetRenderer(VideoRendererFilter* renderer) {
    if (renderer == m_renderer) return;
    DisconnectInput();
    if (m_renderer) m_renderer->ReturnWidget();
    if (m_fullScreen) {
        gtk_widget_destroy(m_fullScreen);
        m_fullScreen = nullptr;
    }
    m_renderer = renderer;
    Apply();
}

GtkWidget* VideoWindow::OwnerContainer(int& dx, int& dy) const {
    dx = dy = 0;
    if (!m_ui || !m_owner) return nullptr;
    if (GtkWidget* container = m_ui->NativeContainer(m_owner)) return container;
    // A control without children of its own (a static picture area): the video goes beside
    // it, at its place in its parent.
    GtkWidget* widget = m_ui->NativeWidget(m_owner);
    GtkWidget* parent = widget ? gtk_widget_get_parent(widget) : nullptr;
    if (!parent || !GTK_IS_FIXED(parent)) return nullptr;
    GValue value = G_VALUE_INIT;
    g_value_init(&value, G_TYPE_INT);
    gtk_container_child_get_property(GTK_CONTAINER(parent), widget, "x", &value);
    dx = g_value_get_int(&value);
    gtk_container_child_get_property(GTK_CONTAINER(parent), widget, "y", &value);
    dy = g_value_get_int(&value);
    g_value_unset(&value);
    return parent;
}

HRESULT VideoWindow::Apply() {
    if (!m_renderer) return E_NOINTERFACE;
    GtkWidget* widget = m_renderer->Widget();
    if (!widget) return S_OK;  // no display: nothing to place
    if (m_fullScreen) return S_OK;  // placed again when full-screen mode ends
    int dx = 0;
    int dy = 0;
    GtkWidget* container = OwnerContainer(dx, dy);
    if (!container) {
        m_renderer->ReturnWidget();
        return S_OK;
    }
    MoveWidget(widget, container);
    if (GTK_IS_FIXED(container)) gtk_fixed_move(GTK_FIXED(container), widget, dx + m_rect.left, dy + m_rect.top);
    gtk_widget_set_size_request(widget, m_rect.Width() > 0 ? m_rect.Width() : -1, m_rect.Height() > 0 ? m_rect.Height() : -1);
    gtk_widget_set_visible(widget, m_shown);
    ConnectInput(widget);
    return S_OK;
}

HRESULT VideoWindow::SetOwner(WindowHandle owner) {
    m_owner = owner;
    return Apply();
}

HRESULT VideoWindow::SetLeft(int32_t left) {
    int width = m_rect.Width();
    m_rect.left = left;
    m_rect.right = left + width;
    return Apply();
}

HRESULT VideoWindow::SetTop(int32_t top) {
    int height = m_rect.Height();
    m_rect.top = top;
    m_rect.bottom = top + height;
    return Apply();
}

HRESULT VideoWindow::SetWidth(int32_t width) {
    m_rect.right = m_rect.left + width;
    return Apply();
}

HRESULT VideoWindow::SetHeight(int32_t height) {
    m_rect.bottom = m_rect.top + height;
    return Apply();
}

HRESULT VideoWindow::SetStyle(int32_t style) {
    // A child window inside its owner is the only kind there is; the style is kept for reading.
    m_style = style;
    return m_renderer ? S_OK : E_NOINTERFACE;
}

HRESULT VideoWindow::SetVisible(bool visible) {
    m_shown = visible;
    return Apply();
}

HRESULT VideoWindow::SetWindowState(int32_t state) {
    if (state == SW_HIDE_STATE)
        m_shown = false;
    else if (state == SW_SHOW_STATE)
        m_shown = true;
    return Apply();
}

GdkMonitor* VideoWindow::MonitorOfDrain(GtkWidget* widget) const {
    GdkDisplay* display = gtk_widget_get_display(widget);
    GtkWidget* drain = m_ui && m_drain ? m_ui->NativeWidget(m_drain) : nullptr;
    GdkWindow* window = drain ? gtk_widget_get_window(gtk_widget_get_toplevel(drain)) : nullptr;
    if (window) return gdk_display_get_monitor_at_window(display, window);
    GdkMonitor* primary = gdk_display_get_primary_monitor(display);
    return primary ? primary : gdk_display_get_monitor(display, 0);
}

HRESULT VideoWindow::SetFullScreen(bool on) {
    if (!m_renderer) return E_NOINTERFACE;
    GtkWidget* widget = m_renderer->Widget();
    if (!widget || on == (m_fullScreen != nullptr)) return S_OK;
    if (on) {
        m_fullScreen = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_decorated(GTK_WINDOW(m_fullScreen), FALSE);
        MoveWidget(widget, m_fullScreen);
        gtk_widget_set_size_request(widget, -1, -1);
        gtk_widget_show(widget);
        // Without a window manager the full-screen request is not honoured: the window covers
        // the monitor under the main window by its own place and size, which a window manager
        // then overrules with its full-screen state.
        GdkRectangle monitor{0, 0, 640, 480};
        if (GdkMonitor* shown = MonitorOfDrain(widget)) gdk_monitor_get_geometry(shown, &monitor);
        gtk_window_move(GTK_WINDOW(m_fullScreen), monitor.x, monitor.y);
        gtk_window_set_default_size(GTK_WINDOW(m_fullScreen), monitor.width, monitor.height);
        gtk_window_fullscreen(GTK_WINDOW(m_fullScreen));
        gtk_widget_show(m_fullScreen);
        return S_OK;
    }
    GtkWidget* window = m_fullScreen;
    m_fullScreen = nullptr;
    Apply();
    if (gtk_widget_get_parent(widget) == window) m_renderer->ReturnWidget();
    gtk_widget_destroy(window);
    return S_OK;
}

HRESULT VideoWindow::SetMessageDrain(WindowHandle drain) {
    m_drain = drain;
    if (!m_renderer) return E_NOINTERFACE;
    if (GtkWidget* widget = m_renderer->Widget()) ConnectInput(widget);
    return S_OK;
}

GtkWidget* VideoWindow::Parent() const {
    GtkWidget* widget = m_renderer ? m_renderer->Widget() : nullptr;
    return widget ? gtk_widget_get_parent(widget) : nullptr;
}

void VideoWindow::ConnectInput(GtkWidget* widget) {
    if (m_inputWidget == widget) return;
    DisconnectInput();
    m_inputWidget = widget;
    gtk_widget_add_events(widget, GDK_POINTER_MOTION_MASK | GDK_KEY_PRESS_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    gtk_widget_set_can_focus(widget, TRUE);
    m_motionHandler = g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), this);
    m_keyHandler = g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKeyPress), this);
    m_pressHandler = g_signal_connect(widget, "button-press-event", G_CALLBACK(OnButton), this);
    m_releaseHandler = g_signal_connect(widget, "button-release-event", G_CALLBACK(OnButton), this);
}

void VideoWindow::DisconnectInput() {
    if (!m_inputWidget) return;
    g_signal_handler_disconnect(m_inputWidget, m_motionHandler);
    g_signal_handler_disconnect(m_inputWidget, m_keyHandler);
    g_signal_handler_disconnect(m_inputWidget, m_pressHandler);
    g_signal_handler_disconnect(m_inputWidget, m_releaseHandler);
    m_inputWidget = nullptr;
}

gboolean VideoWindow::OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer data) {
    auto* self = static_cast<VideoWindow*>(data);
    if (!self->m_ui || !self->m_drain) return FALSE;
    // Into the drain window's client coordinates.
    GtkWidget* target = self->m_ui->NativeContainer(self->m_drain);
    if (!target) target = self->m_ui->NativeWidget(self->m_drain);
    int x = int(event->x);
    int y = int(event->y);
    if (target) (void)gtk_widget_translate_coordinates(widget, target, x, y, &x, &y);
    self->m_ui->InjectMouseMove(self->m_drain, Point{x, y});
    return TRUE;
}

// A click on the picture is a click on the window under it, as with a child window that lets
// its parent decide: a right click there asks the program for its context menu.
gboolean VideoWindow::OnButton(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    auto* self = static_cast<VideoWindow*>(data);
    const WindowHandle target = self->InputTarget();
    if (!self->m_ui || !target || (event->button != 1 && event->button != 3)) return FALSE;
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) return TRUE;
    GtkWidget* native = self->m_ui->NativeContainer(target);
    if (!native) native = self->m_ui->NativeWidget(target);
    int x = int(event->x);
    int y = int(event->y);
    if (native) (void)gtk_widget_translate_coordinates(widget, native, x, y, &x, &y);
    const MouseButton button = event->button == 1 ? MouseButton::Left : MouseButton::Right;
    if (event->type == GDK_BUTTON_PRESS)
        self->m_ui->InjectMouseDown(target, button, Point{x, y});
    else
        self->m_ui->InjectMouseUp(target, button, Point{x, y});
    return TRUE;
}

gboolean VideoWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* self = static_cast<VideoWindow*>(data);
    if (!self->m_ui || !self->m_drain) return FALSE;
    return self->m_ui->InjectKeyDown(self->m_drain, VirtualKeyFromEvent(*event)) ? TRUE : FALSE;
}

}  // namespace platform::gst
