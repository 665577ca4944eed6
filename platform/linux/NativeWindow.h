// What the host knows about one window it created. Widgets are owned by GTK (a top-level by the
// toplevel list, a child by its container); the record only points at them and forgets them when
// the window is destroyed.
#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <string>

#include "GRefPtr.h"
#include "platform/Bitmap.h"
#include "platform/UiHost.h"

namespace platform {

enum class CaptionPart { None, Caption, MinimizeBox, CloseBox };

struct NativeWindow {
    WindowHandle handle;
    WindowKind kind = WindowKind::Canvas;
    WindowHandle parent;
    WindowHandle owner;
    GtkWidget* widget = nullptr;     // top-level: the GtkWindow; child: the control itself
    GtkWidget* container = nullptr;  // where children go: a top-level's client area, a canvas itself
    Rect rect;                       // as in CreateParams::rect
    std::wstring text;
    FontDesc font;
    GRefPtr<GtkCssProvider> fontCss;
    bool enabled = true;
    // What the program last painted into the client area or canvas. GTK redraws it whenever
    // anything on top changes (a video frame in a child, say); the program paints again only
    // when the window was invalidated or changed size, as with classic paint messages.
    Bitmap painted;
    bool paintValid = false;

    // Top-level windows.
    bool hasCaption = true;
    bool minimizeBox = false;
    ShowState showState = ShowState::Normal;
    // Positions asked of the window system and not yet confirmed by a configure event: a late
    // confirmation of an older move is not mistaken for a move by someone else.
    std::deque<Point> pendingMoves;
    CaptionPart pressedPart = CaptionPart::None;  // caption box held down by the left button
    bool pressedInside = false;                   // ...and the pointer still over it
    bool dragging = false;
    Point dragStartPointer;  // screen coordinates
    Point dragLastPointer;
    Rect dragStartRect;
    WindowHandle lastRadio;      // radio buttons created later join this one's group
    GtkWidget* noneRadio = nullptr;  // radio buttons: the hidden member that is on when none is

    bool IsTopLevel() const { return kind == WindowKind::TopLevel; }
};

}  // namespace platform
