// Flags of the system-event handling the rest of the program looks at.
#pragma once

// From a suspend until its resume has been handled: device events are swallowed meanwhile.
extern bool g_bSuspended;
// Cleared when the last camera went away; a resume then has nothing to bring back.
extern bool g_bCameraPresent;
