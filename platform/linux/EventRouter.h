// The way back from GTK's signal handlers to the program: which window a widget stands for, and
// the event sink, reached only while that window is still alive.
#pragma once

#include <gtk/gtk.h>

#include "ClickTracker.h"
#include "WindowTable.h"
#include "platform/UiHost.h"

namespace platform {

class EventRouter;

// Attached to a widget for its whole life; signal handlers get it as their user data. It names
// the window by handle, so a handler running after DestroyWindow finds nothing and does nothing.
struct Binding {
    EventRouter* router;
    WindowHandle handle;
};

class EventRouter {
public:
    EventRouter(WindowTable& windows, ITextRenderer& text) : m_windows(windows), m_text(text) {}
    EventRouter(const EventRouter&) = delete;
    EventRouter& operator=(const EventRouter&) = delete;

    void SetSink(IUiEvents* sink) { m_sink = sink; }
    IUiEvents* Sink() const { return m_sink; }
    // The sink, or nullptr when none is set or the window is gone.
    IUiEvents* SinkFor(WindowHandle handle) const;
    NativeWindow* Find(WindowHandle handle) const { return m_windows.Find(handle); }
    ITextRenderer& Text() { return m_text; }
    ClickTracker& Clicks() { return m_clicks; }

    // GTK reports a programmatic change of a control exactly like a user's; notifications are
    // held back while the host makes one.
    class QuietScope {
    public:
        explicit QuietScope(EventRouter& router) : m_router(router) { ++m_router.m_quiet; }
        ~QuietScope() { --m_router.m_quiet; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        EventRouter& m_router;
    };
    [[nodiscard]] QuietScope Quiet() { return QuietScope(*this); }
    void Notify(WindowHandle handle, ControlNotify what);

    Binding* Bind(GtkWidget* widget, WindowHandle handle);
    // The binding of the widget or of its nearest bound ancestor.
    static const Binding* BindingOf(GtkWidget* widget);

private:
    WindowTable& m_windows;
    ITextRenderer& m_text;
    IUiEvents* m_sink = nullptr;
    ClickTracker m_clicks;
    int m_quiet = 0;
};

}  // namespace platform
