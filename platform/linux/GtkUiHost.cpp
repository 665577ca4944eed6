#include "GtkUiHost.h"

#include <algorithm>

#include "GtkFolderBrowser.h"
#include "GtkMessageBox.h"
#include "GtkPopupMenu.h"
#include "NativeControls.h"
#include "PaintedArea.h"
#include "TopLevelWindow.h"
#include "UserRequestTime.h"
#include "platform/Strings.h"

namespace platform {
namespace {

Rect ToRect(const GdkRectangle& r) { return Rect::FromXYWH(r.x, r.y, r.width, r.height); }

GdkMonitor* PrimaryMonitor(GdkDisplay* display) {
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

void SizeAndPlace(GtkWidget* container, GtkWidget* widget, const Rect& rect, bool put) {
    gtk_widget_set_size_request(widget, std::max(0, rect.Width()), std::max(0, rect.Height()));
    if (put) gtk_fixed_put(GTK_FIXED(container), widget, rect.left, rect.top);
    else gtk_fixed_move(GTK_FIXED(container), widget, rect.left, rect.top);
}

}  // namespace

GtkUiHost::GtkUiHost() = default;

GtkUiHost::~GtkUiHost() {
    // Handles first: destroying one window can take owned ones with it.
    std::vector<WindowHandle> topLevels;
    for (const NativeWindow* window : m_windows.TopLevels()) topLevels.push_back(window->handle);
    for (WindowHandle handle : topLevels) DestroyWindow(handle);
}

void GtkUiHost::SetEventSink(IUiEvents* sink) {
    m_router.SetSink(sink);
    // What the old sink painted is not the new one's.
    for (WindowHandle handle : m_windows.Handles()) Invalidate(handle);
}

bool GtkUiHost::CreateWindow(WindowHandle handle, const CreateParams& params) {
    if (!handle || Find(handle)) return false;
    auto window = std::make_unique<NativeWindow>();
    window->handle = handle;
    window->kind = params.kind;
    window->rect = params.rect;
    window->text = params.text;
    window->enabled = params.enabled;
    if (params.kind == WindowKind::TopLevel) {
        window->owner = params.owner;
        window->hasCaption = params.hasCaption;
        window->minimizeBox = params.minimizeBox;
        CreateTopLevel(m_router, *window, GtkWindowOf(params.owner));
        g_signal_connect(window->widget, "realize", G_CALLBACK(+[](GtkWidget* widget, gpointer self) {
                             static_cast<GtkUiHost*>(self)->ApplyCursor(widget);
                         }),
                         this);
    } else {
        window->parent = params.parent;
        window->hasCaption = false;
        if (!CreateChild(*window, params)) return false;
    }
    NativeWindow& added = m_windows.Add(std::move(window));
    if (params.visible) gtk_widget_show(added.widget);
    return true;
}

bool GtkUiHost::CreateChild(NativeWindow& window, const CreateParams& params) {
    NativeWindow* parent = Find(params.parent);
    if (!parent || !parent->container) return false;
    if (params.kind == WindowKind::Canvas) {
        window.widget = CreatePaintedArea(m_router, window.handle);
        window.container = window.widget;
        gtk_widget_set_can_focus(window.widget, params.tabStop);
    } else {
        CreateNativeControl(m_router, window, *parent, params.startsGroup, params.defaultButton);
        if (params.readOnly && params.kind == WindowKind::Edit) gtk_editable_set_editable(GTK_EDITABLE(window.widget), FALSE);
    }
    SizeAndPlace(parent->container, window.widget, window.rect, true);
    if (params.defaultButton && params.kind == WindowKind::PushButton) gtk_widget_grab_default(window.widget);
    gtk_widget_set_sensitive(window.widget, params.enabled);
    return true;
}

void GtkUiHost::DestroyWindow(WindowHandle handle) {
    auto removed = m_windows.RemoveTree(handle);
    if (removed.empty()) return;
    for (const auto& window : removed) m_timers.KillAll(window->handle);
    // A top-level window takes its children along; the root, when it is a child, its own.
    for (const auto& window : removed)
        if (window->IsTopLevel() || window == removed.front()) gtk_widget_destroy(window->widget);
}

void GtkUiHost::SetText(WindowHandle handle, std::wstring_view text) {
    NativeWindow* window = Find(handle);
    if (!window) return;
    window->text = text;
    if (window->IsTopLevel()) {
        gtk_window_set_title(GTK_WINDOW(window->widget), ToUtf8(text).c_str());
        InvalidateCaption(*window);
    } else if (window->kind != WindowKind::Canvas) {
        SetControlText(m_router, *window);
    }
}

std::wstring GtkUiHost::GetText(WindowHandle handle) {
    const NativeWindow* window = Find(handle);
    if (!window) return {};
    return window->IsTopLevel() || window->kind == WindowKind::Canvas ? window->text : GetControlText(*window);
}

void GtkUiHost::SetVisible(WindowHandle handle, bool visible) {
    if (NativeWindow* window = Find(handle)) gtk_widget_set_visible(window->widget, visible);
}

void GtkUiHost::SetEnabled(WindowHandle handle, bool enabled) {
    NativeWindow* window = Find(handle);
    if (!window) return;
    window->enabled = enabled;
    // A disabled top-level window keeps its looks; the input gate turns its input away.
    if (!window->IsTopLevel()) gtk_widget_set_sensitive(window->widget, enabled);
}

void GtkUiHost::SetRect(WindowHandle handle, const Rect& rect) {
    NativeWindow* window = Find(handle);
    if (!window) return;
    if (window->IsTopLevel()) {
        PlaceTopLevel(*window, rect);
        return;
    }
    window->rect = rect;
    SizeAndPlace(gtk_widget_get_parent(window->widget), window->widget, rect, false);
}

Rect GtkUiHost::GetRect(WindowHandle handle) {
    const NativeWindow* window = Find(handle);
    return window ? window->rect : Rect{};
}

void GtkUiHost::BringToTop(WindowHandle handle) {
    NativeWindow* window = Find(handle);
    if (!window) return;
    if (window->IsTopLevel()) {
        gtk_window_present(GTK_WINDOW(window->widget));
        return;
    }
    // A GtkFixed draws its children in the order they were put, and a child put again gets
    // its input window created anew above its siblings'.
    GtkWidget* widget = window->widget;
    GtkWidget* container = gtk_widget_get_parent(widget);
    const bool focused = gtk_widget_has_focus(widget);
    {
        auto keep = RefGRef(widget);  // while out of its container
        gtk_container_remove(GTK_CONTAINER(container), widget);
        gtk_fixed_put(GTK_FIXED(container), widget, window->rect.left, window->rect.top);
    }
    if (focused) gtk_widget_grab_focus(widget);
}

void GtkUiHost::Invalidate(WindowHandle handle) {
    NativeWindow* window = Find(handle);
    if (!window) return;
    window->paintValid = false;
    gtk_widget_queue_draw(ContentWidget(*window));
}

void GtkUiHost::SetFont(WindowHandle handle, const FontDesc& font) {
    NativeWindow* window = Find(handle);
    if (!window) return;
    window->font = font;
    // The program paints top-level windows and canvases itself, with the font it keeps.
    if (!window->IsTopLevel() && window->kind != WindowKind::Canvas) ControlStyle::ApplyFont(*window);
}

void GtkUiHost::SetTooltip(WindowHandle handle, std::wstring_view text, bool active) {
    const NativeWindow* window = Find(handle);
    if (!window) return;
    GtkWidget* widget = ContentWidget(*window);
    if (active && !text.empty()) gtk_widget_set_tooltip_text(widget, ToUtf8(text).c_str());
    else gtk_widget_set_has_tooltip(widget, FALSE);
}

void GtkUiHost::SetIcon(WindowHandle handle, const Bitmap& icon) {
    NativeWindow* window = FindKind(handle, WindowKind::TopLevel);
    if (!window || icon.IsEmpty()) return;
    // The pixbuf takes RGB bytes; the bitmap's pixels are 0x00RRGGBB words.
    auto pixbuf = GRefPtr<GdkPixbuf>::Adopt(gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, icon.Width(), icon.Height()));
    if (!pixbuf) return;
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf.get());
    const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
    for (int y = 0; y < icon.Height(); ++y) {
        guchar* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < icon.Width(); ++x) {
            const Color c = icon.At(x, y);
            row[3 * x] = c.r;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.b;
        }
    }
    gtk_window_set_icon(GTK_WINDOW(window->widget), pixbuf.get());
}

void GtkUiHost::SetFocus(WindowHandle handle) {
    const NativeWindow* window = Find(handle);
    if (!window) return;
    if (window->IsTopLevel()) {
        gtk_window_set_focus(GTK_WINDOW(window->widget), nullptr);
        gtk_window_present(GTK_WINDOW(window->widget));
        return;
    }
    if (window->kind == WindowKind::Canvas) gtk_widget_set_can_focus(window->widget, TRUE);
    gtk_widget_grab_focus(window->widget);
}

void GtkUiHost::SetShowState(WindowHandle handle, ShowState state) {
    if (NativeWindow* window = FindKind(handle, WindowKind::TopLevel)) SetTopLevelShowState(*window, state);
}

void GtkUiHost::SetForegroundWindow(WindowHandle handle) {
    NativeWindow* window = FindKind(handle, WindowKind::TopLevel);
    if (!window) return;
    gtk_window_present_with_time(GTK_WINDOW(window->widget), StampUserRequest(window->widget));
}

ShowState GtkUiHost::GetShowState(WindowHandle handle) {
    const NativeWindow* window = Find(handle);
    return window ? window->showState : ShowState::Normal;
}

void GtkUiHost::SetCheck(WindowHandle handle, bool checked) {
    if (NativeWindow* window = Find(handle)) SetControlCheck(m_router, *window, checked);
}

bool GtkUiHost::GetCheck(WindowHandle handle) {
    const NativeWindow* window = Find(handle);
    return window && GetControlCheck(*window);
}

void GtkUiHost::ComboReset(WindowHandle handle) {
    NativeWindow* window = FindKind(handle, WindowKind::ComboBox);
    if (!window) return;
    auto quiet = m_router.Quiet();
    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(window->widget));
}

void GtkUiHost::ComboAdd(WindowHandle handle, std::wstring_view text) {
    NativeWindow* window = FindKind(handle, WindowKind::ComboBox);
    if (!window) return;
    auto quiet = m_router.Quiet();
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(window->widget), ToUtf8(text).c_str());
}

void GtkUiHost::ComboSetSelection(WindowHandle handle, int index) {
    NativeWindow* window = FindKind(handle, WindowKind::ComboBox);
    if (!window) return;
    GtkComboBox* combo = GTK_COMBO_BOX(window->widget);
    // An index past the end clears the selection, as it does in a classic combo box.
    if (index >= gtk_tree_model_iter_n_children(gtk_combo_box_get_model(combo), nullptr)) index = -1;
    auto quiet = m_router.Quiet();
    gtk_combo_box_set_active(combo, std::max(index, -1));
}

int GtkUiHost::ComboGetSelection(WindowHandle handle) {
    const NativeWindow* window = FindKind(handle, WindowKind::ComboBox);
    return window ? gtk_combo_box_get_active(GTK_COMBO_BOX(window->widget)) : -1;
}

void GtkUiHost::SetTimer(WindowHandle handle, uintptr_t id, uint32_t periodMs) {
    if (Find(handle)) m_timers.Set(handle, id, periodMs);
}

bool GtkUiHost::KillTimer(WindowHandle handle, uintptr_t id) { return m_timers.Kill(handle, id); }

int GtkUiHost::MessageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption, uint32_t flags) {
    return RunMessageBox(GtkWindowOf(owner), text, caption, flags);
}

int GtkUiHost::TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point screen) {
    return RunPopupMenu(GtkWindowOf(owner), items, screen);
}

bool GtkUiHost::BrowseForFolder(WindowHandle owner, std::wstring_view title, const FolderBrowserCallback& callback) {
    return RunFolderBrowser(GtkWindowOf(owner), title, callback);
}

void GtkUiHost::SetCursor(CursorKind kind) {
    GdkDisplay* display = gdk_display_get_default();
    switch (kind) {
    // Taking the program's cursor away ("no cursor") gives the windows their own back: a pointer
    // left blank until something else sets one would look like a hung program.
    case CursorKind::Arrow:
    case CursorKind::None: m_cursor.reset(); break;
    case CursorKind::Wait: m_cursor = GRefPtr<GdkCursor>::Adopt(gdk_cursor_new_for_display(display, GDK_WATCH)); break;
    }
    for (NativeWindow* window : m_windows.TopLevels()) ApplyCursor(window->widget);
    // The program may be busy for a while before it pumps again; the cursor shows now.
    gdk_display_flush(display);
}

void GtkUiHost::ApplyCursor(GtkWidget* topLevel) const {
    if (GdkWindow* window = gtk_widget_get_window(topLevel)) gdk_window_set_cursor(window, m_cursor.get());
}

Rect GtkUiHost::GetPrimaryScreen() {
    GdkMonitor* monitor = PrimaryMonitor(gdk_display_get_default());
    if (!monitor) return {};
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    return ToRect(area);
}

Rect GtkUiHost::GetVirtualScreen() {
    GdkDisplay* display = gdk_display_get_default();
    Rect all;
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
        GdkRectangle area;
        gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &area);
        const Rect r = ToRect(area);
        all = all.IsEmpty() ? r
                            : Rect{std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
                                   std::max(all.bottom, r.bottom)};
    }
    return all;
}

Rect GtkUiHost::GetWorkArea() {
    GdkMonitor* monitor = PrimaryMonitor(gdk_display_get_default());
    if (!monitor) return {};
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    return ToRect(area);
}

Point GtkUiHost::GetCursorPos() {
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
    Point p;
    if (pointer) gdk_device_get_position(pointer, nullptr, &p.x, &p.y);
    return p;
}

uint32_t GtkUiHost::GetDoubleClickTime() {
    gint time = 400;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &time, nullptr);
    return uint32_t(time);
}

bool GtkUiHost::WaitForEvents(bool block) {
    g_main_context_iteration(nullptr, block);
    return true;  // there is always a display that can send something
}

void GtkUiHost::Wake() { m_wake.Wake(); }

GtkWidget* GtkUiHost::NativeWidget(WindowHandle handle) const {
    const NativeWindow* window = Find(handle);
    return window ? window->widget : nullptr;
}

GtkWidget* GtkUiHost::NativeContainer(WindowHandle handle) const {
    const NativeWindow* window = Find(handle);
    return window ? window->container : nullptr;
}

void GtkUiHost::InjectMouseMove(WindowHandle handle, Point point) {
    if (IUiEvents* sink = m_router.SinkFor(handle)) sink->OnMouseMove(handle, point);
}

void GtkUiHost::InjectMouseDown(WindowHandle handle, MouseButton button, Point point) {
    if (IUiEvents* sink = m_router.SinkFor(handle)) sink->OnMouseDown(handle, button, point, false);
}

void GtkUiHost::InjectMouseUp(WindowHandle handle, MouseButton button, Point point) {
    if (IUiEvents* sink = m_router.SinkFor(handle)) sink->OnMouseUp(handle, button, point);
}

bool GtkUiHost::InjectKeyDown(WindowHandle handle, int virtualKey) {
    IUiEvents* sink = m_router.SinkFor(handle);
    return sink && sink->OnKeyDown(handle, virtualKey);
}

NativeWindow* GtkUiHost::FindKind(WindowHandle handle, WindowKind kind) const {
    NativeWindow* window = Find(handle);
    return window && window->kind == kind ? window : nullptr;
}

GtkWindow* GtkUiHost::GtkWindowOf(WindowHandle handle) const {
    const NativeWindow* window = Find(handle);
    if (!window) return nullptr;
    GtkWidget* top = gtk_widget_get_toplevel(window->widget);
    return GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

GtkWidget* GtkUiHost::ContentWidget(const NativeWindow& window) const {
    return window.IsTopLevel() ? window.container : window.widget;
}

}  // namespace platform
