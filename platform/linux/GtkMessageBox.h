// A modal message box with the classic buttons, icons and answers, run in a nested main loop so
// timers and wakes keep being delivered while it is open.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <string_view>

namespace platform {

int RunMessageBox(GtkWindow* owner, std::wstring_view text, std::wstring_view caption, uint32_t flags);

// Closes every open box as its close button would (the answer a box gives without a button
// press), so a program asked to end is not held up by a question nobody is there to answer.
void CloseMessageBoxes();

}  // namespace platform
