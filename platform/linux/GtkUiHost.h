// The UI host on GTK3. Windows are GTK widgets found by handle; every operation on a handle it
// does not know (never created, or destroyed) quietly does nothing.
#pragma once

#include <gtk/gtk.h>

#include "ControlStyle.h"
#include "EventRouter.h"
#include "GRefPtr.h"
#include "GtkTextRenderer.h"
#include "InputGate.h"
#include "TimerTable.h"
#include "WakeSource.h"
#include "WindowTable.h"
#include "platform/UiHost.h"

namespace platform {

class GtkUiHost final : public IUiHost {
public:
    GtkUiHost();  // GTK must have been initialised
    ~GtkUiHost() override;
    GtkUiHost(const GtkUiHost&) = delete;
    GtkUiHost& operator=(const GtkUiHost&) = delete;

    void SetEventSink(IUiEvents* sink) override;
    ITextRenderer& TextRenderer() override { return m_text; }

    [[nodiscard]] bool CreateWindow(WindowHandle, const CreateParams&) override;
    void DestroyWindow(WindowHandle) override;
    void SetText(WindowHandle, std::wstring_view) override;
    std::wstring GetText(WindowHandle) override;
    void SetVisible(WindowHandle, bool) override;
    void SetEnabled(WindowHandle, bool) override;
    void SetRect(WindowHandle, const Rect&) override;
    Rect GetRect(WindowHandle) override;
    void BringToTop(WindowHandle) override;
    void Invalidate(WindowHandle) override;
    void SetFont(WindowHandle, const FontDesc&) override;
    void SetTooltip(WindowHandle, std::wstring_view text, bool active) override;
    void SetIcon(WindowHandle, const Bitmap& icon) override;
    void SetFocus(WindowHandle) override;
    void SetShowState(WindowHandle, ShowState) override;
    ShowState GetShowState(WindowHandle) override;
    void SetForegroundWindow(WindowHandle) override;

    void SetCheck(WindowHandle, bool) override;
    bool GetCheck(WindowHandle) override;
    void ComboReset(WindowHandle) override;
    void ComboAdd(WindowHandle, std::wstring_view) override;
    void ComboSetSelection(WindowHandle, int index) override;
    int ComboGetSelection(WindowHandle) override;

    void SetTimer(WindowHandle, uintptr_t id, uint32_t periodMs) override;
    [[nodiscard]] bool KillTimer(WindowHandle, uintptr_t id) override;

    int MessageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption, uint32_t flags) override;
    int TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point screen) override;
    bool BrowseForFolder(WindowHandle owner, std::wstring_view title, const FolderBrowserCallback& callback) override;

    void SetCursor(CursorKind) override;
    Rect GetPrimaryScreen() override;
    Rect GetVirtualScreen() override;
    Rect GetWorkArea() override;
    Point GetCursorPos() override;
    uint32_t GetDoubleClickTime() override;

    bool WaitForEvents(bool block) override;
    void Wake() override;

    // The widget standing for a window (a top-level's GtkWindow), and the GtkFixed that holds
    // its children (a top-level's client area, a canvas itself; nullptr for native controls):
    // for embedding other GTK widgets, such as a video sink's, and for tests.
    GtkWidget* NativeWidget(WindowHandle) const;
    GtkWidget* NativeContainer(WindowHandle) const;

    // Input that reached an embedded widget (the video sink's), delivered as the window's own:
    // a point in the window's client coordinates, a virtual-key code. Nothing for a window that
    // is gone; the key's result tells whether it was consumed.
    void InjectMouseMove(WindowHandle, Point);
    void InjectMouseDown(WindowHandle, MouseButton, Point);
    void InjectMouseUp(WindowHandle, MouseButton, Point);
    bool InjectKeyDown(WindowHandle, int virtualKey);

private:
    NativeWindow* Find(WindowHandle handle) const { return m_windows.Find(handle); }
    NativeWindow* FindKind(WindowHandle handle, WindowKind kind) const;
    GtkWindow* GtkWindowOf(WindowHandle handle) const;
    // The widget painted by the program and given tooltips: a top-level's client area.
    GtkWidget* ContentWidget(const NativeWindow& window) const;
    bool CreateChild(NativeWindow& window, const CreateParams& params);
    void ApplyCursor(GtkWidget* topLevel) const;

    GtkTextRenderer m_text;
    WindowTable m_windows;
    EventRouter m_router{m_windows, m_text};
    ControlStyle m_style;
    InputGate m_gate{m_router};
    TimerTable m_timers{m_router};
    WakeSource m_wake{m_router};
    GRefPtr<GdkCursor> m_cursor;  // nullptr: the default arrow
};

}  // namespace platform
