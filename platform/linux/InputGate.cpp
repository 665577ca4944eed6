#include "InputGate.h"

namespace platform {
namespace {

// Releases still pass, so a button pressed before its window was disabled is not left held.
bool StartsInput(GdkEventType type) {
    switch (type) {
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
    case GDK_MOTION_NOTIFY:
    case GDK_KEY_PRESS:
    case GDK_SCROLL:
    case GDK_TOUCH_BEGIN: return true;
    default: return false;
    }
}

}  // namespace

InputGate::InputGate(EventRouter& router) : m_router(router) { gdk_event_handler_set(&InputGate::Dispatch, this, nullptr); }

InputGate::~InputGate() {
    gdk_event_handler_set([](GdkEvent* event, gpointer) { gtk_main_do_event(event); }, nullptr, nullptr);
}

void InputGate::Dispatch(GdkEvent* event, gpointer self) {
    if (!static_cast<InputGate*>(self)->IsForDisabledWindow(event)) gtk_main_do_event(event);
}

bool InputGate::IsForDisabledWindow(GdkEvent* event) const {
    if (!StartsInput(event->type) || !event->any.window) return false;
    gpointer owner = nullptr;
    gdk_window_get_user_data(gdk_window_get_toplevel(event->any.window), &owner);
    if (!owner || !GTK_IS_WIDGET(owner)) return false;
    const Binding* binding = EventRouter::BindingOf(GTK_WIDGET(owner));
    if (!binding || binding->router != &m_router) return false;
    // The framework decides, as it does for the simulated host; the press addresses the
    // top-level window, since GTK has not yet picked the widget under the pointer.
    IUiEvents* sink = m_router.SinkFor(binding->handle);
    return sink && !sink->AcceptsInput(binding->handle);
}

}  // namespace platform
