// The help document, shared by the main window's help button and the control bar's.
#pragma once

#include <string>

// Brings an open help viewer back (restored when minimised, otherwise to the top) or, when there
// is none, opens the help document in the resource folder; a failure is not reported.
void ShowHelp(const std::wstring& resourceFolder);
