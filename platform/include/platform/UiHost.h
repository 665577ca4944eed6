// Native windows and controls, input coming back, modal boxes, timers and the event loop.
// Calls go out to the host; events come back through IUiEvents on the UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Surface.h"
#include "platform/Types.h"

namespace platform {

enum class WindowKind {
    TopLevel,     // a framed window with a caption drawn by the host; its client area is painted by the program
    Canvas,       // a child the program paints itself (static texts, owner-drawn buttons, group boxes)
    PushButton,   // native push button
    CheckBox,     // native check box
    RadioButton,  // native radio button (a group starts at a button with startsGroup)
    Edit,         // native single-line text field
    ComboBox,     // native drop-down list (not editable)
};

// The host draws the caption and frame of top-level windows itself, so outer sizes are exact
// and the same under every window manager.
inline constexpr int kFrameBorder = 3;
inline constexpr int kCaptionHeight = 23;

struct CreateParams {
    WindowKind kind = WindowKind::Canvas;
    WindowHandle parent;  // children: the window whose client area holds them
    WindowHandle owner;   // top-level windows: kept above their owner
    int controlId = 0;
    std::wstring text;
    Rect rect;  // top-level: outer rectangle in screen coordinates; children: in the parent's client area
    bool visible = false;
    bool enabled = true;
    bool hasCaption = true;   // top-level only
    bool minimizeBox = false; // top-level only
    bool tabStop = false;
    bool startsGroup = false;  // radio buttons
    bool defaultButton = false;
    bool readOnly = false;  // edits: shown and selectable, never typed into
};

// Client rectangle of a top-level window, relative to its outer rectangle's top-left corner.
constexpr Rect ClientArea(const Rect& outer, bool hasCaption) {
    if (!hasCaption) return {0, 0, outer.Width(), outer.Height()};
    return {kFrameBorder, kFrameBorder + kCaptionHeight, outer.Width() - kFrameBorder,
            outer.Height() - kFrameBorder};
}

enum class MouseButton { Left, Right };
enum class ControlNotify { Clicked, SelChange, EditChange };
enum class SysCommand { Close, Minimize, Restore };
enum class ShowState { Normal, Minimized };
enum class CursorKind { None, Arrow, Wait };

// Message box types and answers, in the classic numbering the program uses.
enum MessageBoxFlags : uint32_t {
    kMbOk = 0x0, kMbOkCancel = 0x1, kMbYesNoCancel = 0x3, kMbYesNo = 0x4, kMbButtonsMask = 0xF,
    kMbIconError = 0x10, kMbIconQuestion = 0x20, kMbIconExclamation = 0x30, kMbIconInformation = 0x40,
    kMbIconMask = 0xF0,
};
enum MessageBoxAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

struct MenuItem {
    int id = 0;  // 0 with an empty text: separator
    std::wstring text;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItem> subItems;
};

// What the folder browser tells its caller while it runs.
enum class FolderBrowserEvent {
    Initialized,       // the callback sets the path to the folder to select first (empty: the browser's own place)
    SelectionChanged,  // the path is the file-system path of the folder now selected
};
using FolderBrowserCallback = std::function<void(FolderBrowserEvent, std::wstring& path)>;

class IUiEvents {
public:
    virtual ~IUiEvents() = default;
    // The host asks for the window's client area (or a canvas) to be painted.
    virtual void OnPaint(WindowHandle, Surface&) = 0;
    // Points are in the window's client coordinates. A double-click arrives as the second
    // press with doubleClick set (down, up, double-click down, up).
    virtual void OnMouseDown(WindowHandle, MouseButton, Point, bool doubleClick) = 0;
    virtual void OnMouseUp(WindowHandle, MouseButton, Point) = 0;
    virtual void OnMouseMove(WindowHandle, Point) = 0;
    virtual void OnMouseLeave(WindowHandle) = 0;
    // Virtual-key codes (Escape 27, Return 13, ...), addressed to the focused window (or the
    // top-level window when no control has the focus). True: consumed, the native control must
    // not act on it.
    virtual bool OnKeyDown(WindowHandle, int virtualKey) = 0;
    // A user change of a native control (a programmatic change never notifies).
    virtual void OnControlNotify(WindowHandle, ControlNotify) = 0;
    // Caption buttons, window-manager close, task-bar restore.
    virtual void OnSysCommand(WindowHandle, SysCommand) = 0;
    // A user drag of a top-level window: the proposed outer rectangle, adjustable.
    virtual void OnMoving(WindowHandle, Rect& proposed) = 0;
    // A top-level window's position changed for a reason other than SetRect.
    virtual void OnMoved(WindowHandle) = 0;
    virtual void OnTimer(WindowHandle, uintptr_t id) = 0;
    // Work was posted from some thread (Wake); handled on the UI thread.
    virtual void OnWake() = 0;
    // Whether pointer and key input addressed to the window may start anything: the host asks
    // before a native control acts on a press, a key or a typed change, and drops the input
    // when the answer is no. Releases and leaves are never asked about, so nothing is left held.
    virtual bool AcceptsInput(WindowHandle) { return true; }
};

class IUiHost {
public:
    virtual ~IUiHost() = default;

    virtual void SetEventSink(IUiEvents* sink) = 0;
    virtual ITextRenderer& TextRenderer() = 0;

    // Windows. The handle is chosen by the caller and never reused.
    [[nodiscard]] virtual bool CreateWindow(WindowHandle, const CreateParams&) = 0;
    virtual void DestroyWindow(WindowHandle) = 0;
    virtual void SetText(WindowHandle, std::wstring_view) = 0;
    virtual std::wstring GetText(WindowHandle) = 0;
    virtual void SetVisible(WindowHandle, bool) = 0;
    virtual void SetEnabled(WindowHandle, bool) = 0;
    virtual void SetRect(WindowHandle, const Rect&) = 0;  // coordinates as in CreateParams::rect
    virtual Rect GetRect(WindowHandle) = 0;
    virtual void BringToTop(WindowHandle) = 0;  // top of its siblings (or of the top-level windows)
    virtual void Invalidate(WindowHandle) = 0;
    virtual void SetFont(WindowHandle, const FontDesc&) = 0;
    virtual void SetTooltip(WindowHandle, std::wstring_view text, bool active) = 0;
    // A top-level window's icon, for the task bar and the window list.
    virtual void SetIcon(WindowHandle, const Bitmap& icon) = 0;
    virtual void SetFocus(WindowHandle) = 0;
    virtual void SetShowState(WindowHandle, ShowState) = 0;
    virtual ShowState GetShowState(WindowHandle) = 0;
    // A top-level window comes to the front of the desktop and gets the keyboard, for a user who
    // asked for it from outside the program (starting it again): the desktop must take the
    // request as the user's, not as a program stealing the focus. Restore a minimised one first.
    virtual void SetForegroundWindow(WindowHandle) = 0;

    // Native check boxes, radio buttons and combo boxes.
    virtual void SetCheck(WindowHandle, bool) = 0;
    virtual bool GetCheck(WindowHandle) = 0;
    virtual void ComboReset(WindowHandle) = 0;
    virtual void ComboAdd(WindowHandle, std::wstring_view) = 0;
    virtual void ComboSetSelection(WindowHandle, int index) = 0;  // -1: none
    virtual int ComboGetSelection(WindowHandle) = 0;

    // Timers fire OnTimer on the UI thread; setting an existing id restarts it.
    virtual void SetTimer(WindowHandle, uintptr_t id, uint32_t periodMs) = 0;
    [[nodiscard]] virtual bool KillTimer(WindowHandle, uintptr_t id) = 0;

    // Modal: events keep being delivered while these run.
    virtual int MessageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption,
                           uint32_t flags) = 0;
    virtual int TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point screen) = 0;
    // The folder browser, file-system folders only, over the whole namespace. True when the
    // user confirmed a folder; the last SelectionChanged named it.
    [[nodiscard]] virtual bool BrowseForFolder(WindowHandle owner, std::wstring_view title,
                                               const FolderBrowserCallback& callback) = 0;

    virtual void SetCursor(CursorKind) = 0;
    virtual Rect GetPrimaryScreen() = 0;
    virtual Rect GetVirtualScreen() = 0;
    virtual Rect GetWorkArea() = 0;
    virtual Point GetCursorPos() = 0;
    virtual uint32_t GetDoubleClickTime() = 0;

    // Event loop. WaitForEvents delivers pending native events; with block set it first waits
    // until there is one (a timer, input, a Wake). It returns false only when nothing can ever
    // happen again (the sim with no scripted input, no timer and no other thread).
    virtual bool WaitForEvents(bool block) = 0;
    // Thread-safe: makes the UI thread call OnWake soon.
    virtual void Wake() = 0;
};

}  // namespace platform
