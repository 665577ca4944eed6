// Native controls take exactly the rectangle the program gives them, as classic controls do.
// GTK themes give buttons, entries and combo boxes minimum heights and paddings larger than the
// program's dialogs allow; one style sheet, limited to our controls, takes them away.
#pragma once

#include <gtk/gtk.h>

#include "GRefPtr.h"
#include "NativeWindow.h"

namespace platform {

class ControlStyle {
public:
    ControlStyle();
    ~ControlStyle();
    ControlStyle(const ControlStyle&) = delete;
    ControlStyle& operator=(const ControlStyle&) = delete;

    static void Adopt(GtkWidget* control);
    // Shows window.font in the control (replacing the font it showed before).
    static void ApplyFont(NativeWindow& window);

private:
    GRefPtr<GtkCssProvider> m_provider;
};

}  // namespace platform
