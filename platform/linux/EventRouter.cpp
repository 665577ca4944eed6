#include "EventRouter.h"

namespace platform {
namespace {
constexpr char kBindingKey[] = "vistrel-binding";
}

IUiEvents* EventRouter::SinkFor(WindowHandle handle) const {
    return m_sink && m_windows.Find(handle) ? m_sink : nullptr;
}

void EventRouter::Notify(WindowHandle handle, ControlNotify what) {
    if (m_quiet > 0) return;
    if (IUiEvents* sink = SinkFor(handle)) sink->OnControlNotify(handle, what);
}

Binding* EventRouter::Bind(GtkWidget* widget, WindowHandle handle) {
    auto* binding = new Binding{this, handle};
    // Freed when the widget is finalized; its signal handlers are gone by then.
    g_object_set_data_full(G_OBJECT(widget), kBindingKey, binding,
                           [](gpointer p) { delete static_cast<Binding*>(p); });
    return binding;
}

const Binding* EventRouter::BindingOf(GtkWidget* widget) {
    for (; widget; widget = gtk_widget_get_parent(widget))
        if (auto* binding = static_cast<const Binding*>(g_object_get_data(G_OBJECT(widget), kBindingKey)))
            return binding;
    return nullptr;
}

}  // namespace platform
