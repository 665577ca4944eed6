// A modal message box with the classic buttons, icons and answers, run in a nested main loop so
// timers and wakes keep being delivered while it is open.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <string_view>

namespace platform {

int RunMessageBox(GtkWindow* owner, std::wstring_view text, std::wstring_view caption, uint32_t flags);

}  // namespace platform
