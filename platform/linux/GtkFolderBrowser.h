// The folder browser: GTK's folder chooser, modal over its owner, run in a nested main loop so
// timers and wakes keep being delivered while it is open.
#pragma once

#include <gtk/gtk.h>

#include <string_view>

#include "platform/UiHost.h"

namespace platform {

[[nodiscard]] bool RunFolderBrowser(GtkWindow* owner, std::wstring_view title, const FolderBrowserCallback& callback);

}  // namespace platform
