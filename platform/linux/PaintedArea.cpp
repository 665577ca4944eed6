#include "PaintedArea.h"

#include <cmath>
#include <optional>
#include <utility>

#include "BitmapCairo.h"
#include "GRefPtr.h"

// A GtkFixed whose preferred size is zero, so set_size_request alone decides its size.
struct VistrelPaintedArea {
    GtkFixed parent_instance;
};
struct VistrelPaintedAreaClass {
    GtkFixedClass parent_class;
};
G_DEFINE_TYPE(VistrelPaintedArea, vistrel_painted_area, GTK_TYPE_FIXED)

static void vistrel_painted_area_init(VistrelPaintedArea* self) {
    gtk_widget_set_has_window(GTK_WIDGET(self), TRUE);
}

static void vistrel_painted_area_class_init(VistrelPaintedAreaClass* klass) {
    auto* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->get_preferred_width = [](GtkWidget*, gint* minimum, gint* natural) { *minimum = *natural = 0; };
    widgetClass->get_preferred_height = [](GtkWidget*, gint* minimum, gint* natural) { *minimum = *natural = 0; };
}

namespace platform {
namespace {

std::optional<MouseButton> ToMouseButton(guint button) {
    if (button == GDK_BUTTON_PRIMARY) return MouseButton::Left;
    if (button == GDK_BUTTON_SECONDARY) return MouseButton::Right;
    return std::nullopt;
}

Point ClientPoint(double x, double y) { return {int(std::floor(x)), int(std::floor(y))}; }

ClickTracker::Limits DoubleClickLimits(GtkWidget* widget) {
    gint time = 400, distance = 5;
    g_object_get(gtk_widget_get_settings(widget), "gtk-double-click-time", &time, "gtk-double-click-distance",
                 &distance, nullptr);
    return {uint32_t(time), distance};
}

// Events of a child's own window bubble up to us; only our own are ours.
bool IsOwnEvent(GtkWidget* widget, GdkWindow* window) { return window == gtk_widget_get_window(widget); }

constexpr char kPaintsWholeAllocation[] = "vistrel-paints-whole-allocation";

bool Covers(GtkWidget* cover, GtkWidget* widget, const GdkRectangle& clip) {
    if (!g_object_get_data(G_OBJECT(cover), kPaintsWholeAllocation) || !gtk_widget_is_drawable(cover)) return false;
    int x = 0;
    int y = 0;
    if (!gtk_widget_translate_coordinates(cover, widget, 0, 0, &x, &y)) return false;
    return clip.x >= x && clip.y >= y && clip.x + clip.width <= x + gtk_widget_get_allocated_width(cover) &&
           clip.y + clip.height <= y + gtk_widget_get_allocated_height(cover);
}

// Whether all that is to be drawn lies under a marked child, or under a marked sibling stacked
// above (a GtkFixed draws its children in the order they were put in).
bool HiddenUnderCover(GtkWidget* widget, cairo_t* cr) {
    GdkRectangle clip;
    if (!gdk_cairo_get_clip_rectangle(cr, &clip)) return true;  // nothing to draw at all
    bool hidden = false;
    const GListPtr children(gtk_container_get_children(GTK_CONTAINER(widget)));
    for (GList* l = children.get(); l && !hidden; l = l->next) hidden = Covers(GTK_WIDGET(l->data), widget, clip);
    GtkWidget* parent = gtk_widget_get_parent(widget);
    if (hidden || !parent || !GTK_IS_CONTAINER(parent)) return hidden;
    const GListPtr siblings(gtk_container_get_children(GTK_CONTAINER(parent)));
    GList* above = g_list_find(siblings.get(), widget);
    for (GList* l = above ? above->next : nullptr; l && !hidden; l = l->next) hidden = Covers(GTK_WIDGET(l->data), widget, clip);
    return hidden;
}

gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
    auto* binding = static_cast<Binding*>(data);
    IUiEvents* sink = binding->router->SinkFor(binding->handle);
    if (!sink || !gtk_cairo_should_draw_window(cr, gtk_widget_get_window(widget))) return FALSE;
    if (HiddenUnderCover(widget, cr)) return FALSE;
    const int width = gtk_widget_get_allocated_width(widget), height = gtk_widget_get_allocated_height(widget);
    NativeWindow* window = binding->router->Find(binding->handle);
    if (!window || width <= 0 || height <= 0) return FALSE;
    if (!window->paintValid || window->painted.Width() != width || window->painted.Height() != height) {
        Bitmap fresh(width, height);
        window->paintValid = true;  // before painting: an Invalidate from inside OnPaint stands
        Surface surface(fresh, binding->router->Text());
        sink->OnPaint(binding->handle, surface);
        window = binding->router->Find(binding->handle);  // the program may have destroyed it
        if (!window) return FALSE;
        window->painted = std::move(fresh);
    }
    PaintBitmap(cr, window->painted, 0, 0);
    return FALSE;  // the children draw on top
}

gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    if (!IsOwnEvent(widget, event->window)) return FALSE;
    // GTK adds 2BUTTON/3BUTTON events after the second and third press; the press itself has
    // already been marked, so these are swallowed.
    if (event->type != GDK_BUTTON_PRESS) return TRUE;
    const auto button = ToMouseButton(event->button);
    auto* binding = static_cast<Binding*>(data);
    IUiEvents* sink = binding->router->SinkFor(binding->handle);
    if (!button || !sink) return FALSE;
    const bool doubleClick =
        binding->router->Clicks().Press(binding->handle, *button, event->time, ClientPoint(event->x_root, event->y_root),
                                        DoubleClickLimits(widget));
    sink->OnMouseDown(binding->handle, *button, ClientPoint(event->x, event->y), doubleClick);
    return TRUE;
}

gboolean OnButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    if (!IsOwnEvent(widget, event->window)) return FALSE;
    const auto button = ToMouseButton(event->button);
    auto* binding = static_cast<Binding*>(data);
    IUiEvents* sink = binding->router->SinkFor(binding->handle);
    if (!button || !sink) return FALSE;
    sink->OnMouseUp(binding->handle, *button, ClientPoint(event->x, event->y));
    return TRUE;
}

gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer data) {
    if (!IsOwnEvent(widget, event->window)) return FALSE;
    auto* binding = static_cast<Binding*>(data);
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle))
        sink->OnMouseMove(binding->handle, ClientPoint(event->x, event->y));
    return FALSE;  // tooltips watch motion too
}

// The move that takes the pointer into the window reaches GTK as a crossing only; to the
// program it is a move like any other.
gboolean OnEnter(GtkWidget* widget, GdkEventCrossing* event, gpointer data) {
    if (!IsOwnEvent(widget, event->window)) return FALSE;
    auto* binding = static_cast<Binding*>(data);
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle))
        sink->OnMouseMove(binding->handle, ClientPoint(event->x, event->y));
    return FALSE;
}

gboolean OnLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer data) {
    if (!IsOwnEvent(widget, event->window)) return FALSE;
    auto* binding = static_cast<Binding*>(data);
    if (IUiEvents* sink = binding->router->SinkFor(binding->handle)) sink->OnMouseLeave(binding->handle);
    return FALSE;
}

}  // namespace

void MarkPaintsWholeAllocation(GtkWidget* widget) {
    g_object_set_data(G_OBJECT(widget), kPaintsWholeAllocation, GINT_TO_POINTER(1));
}

GtkWidget* CreatePaintedArea(EventRouter& router, WindowHandle handle) {
    GtkWidget* area = GTK_WIDGET(g_object_new(vistrel_painted_area_get_type(), nullptr));
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                    GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
    Binding* binding = router.Bind(area, handle);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), binding);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnButtonPress), binding);
    g_signal_connect(area, "button-release-event", G_CALLBACK(OnButtonRelease), binding);
    g_signal_connect(area, "motion-notify-event", G_CALLBACK(OnMotion), binding);
    g_signal_connect(area, "enter-notify-event", G_CALLBACK(OnEnter), binding);
    g_signal_connect(area, "leave-notify-event", G_CALLBACK(OnLeave), binding);
    return area;
}

}  // namespace platform
