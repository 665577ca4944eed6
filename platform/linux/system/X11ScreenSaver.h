// The X server's own screen saver, for desktops without a screen-saver service on the session
// bus. Kept apart so X11's macros reach no other file.
#pragma once

namespace platform {

// Suspends (or lets run again) the screen saver and display power saving of the default GDK
// display. False when that display is not X11 or lacks the screen-saver extension. The server
// undoes a suspension by itself when the process ends.
bool SuspendX11ScreenSaver(bool suspend);

}  // namespace platform
