// The native children: push buttons, check boxes, radio buttons, single-line edits and
// drop-down lists. A user's change notifies the program; a change made through these functions
// never does.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

#include "EventRouter.h"

namespace platform {

// Creates window.widget for a child of parent (whose container it will be put into).
void CreateNativeControl(EventRouter& router, NativeWindow& window, NativeWindow& parent, bool startsGroup,
                         bool defaultButton);
void SetControlText(EventRouter& router, NativeWindow& window);  // shows window.text
std::wstring GetControlText(const NativeWindow& window);
void SetControlCheck(EventRouter& router, NativeWindow& window, bool checked);
bool GetControlCheck(const NativeWindow& window);

}  // namespace platform
