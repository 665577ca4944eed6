// A pop-up menu at a screen point, run in a nested main loop until it closes.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/UiHost.h"

namespace platform {

// The chosen item's id, or 0 when the menu was dismissed.
int RunPopupMenu(GtkWindow* owner, const std::vector<MenuItem>& items, Point screen);

}  // namespace platform
