// Keeps pointer and key input from top-level windows that the framework refuses input to (the
// owner of a modal dialog or of a message box), as the classic window system does, without
// greying out everything inside them the way an insensitive GtkWindow would. It sits in front
// of GTK's own event dispatch, which is one per process: so is the host.
#pragma once

#include <gtk/gtk.h>

#include "EventRouter.h"

namespace platform {

class InputGate {
public:
    explicit InputGate(EventRouter& router);
    ~InputGate();
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

private:
    static void Dispatch(GdkEvent* event, gpointer self);
    bool IsForDisabledWindow(GdkEvent* event) const;

    EventRouter& m_router;
};

}  // namespace platform
