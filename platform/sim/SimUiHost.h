// The headless UI host: windows are records a test can read, input is injected by the test,
// message boxes and menus answer as scripted, and timers run on the virtual clock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "SimClock.h"
#include "platform/UiHost.h"

namespace platform::sim {

struct TextDraw {
    std::wstring text;
    Rect box;
    TextStyle style;
};

struct SimWindow {
    WindowHandle handle;
    CreateParams params;
    std::wstring text;
    bool visible = false;
    bool enabled = true;
    Rect rect;
    std::optional<FontDesc> font;
    std::wstring tooltip;
    bool tooltipActive = false;
    Bitmap icon;  // top-level windows: the icon the desktop shows
    ShowState showState = ShowState::Normal;
    bool checked = false;
    std::vector<std::wstring> comboItems;
    int comboSelection = -1;
    uint64_t zOrder = 0;           // higher: drawn later, on top
    bool invalidated = true;        // asked to repaint since the last Paint
    Bitmap bitmap;                  // what the last Paint drew
    std::vector<TextDraw> texts;    // the text the last Paint drew
};

struct ShownMessageBox {
    WindowHandle owner;
    std::wstring text;
    std::wstring caption;
    uint32_t flags = 0;
    int answer = 0;
    uint32_t Icon() const { return flags & kMbIconMask; }
};

struct ShownFolderBrowser {
    WindowHandle owner;
    std::wstring title;
    std::wstring start;  // what the caller asked to be selected first
};

struct ShownMenu {
    WindowHandle owner;
    std::vector<MenuItem> items;
    Point at;
    int answer = 0;
};

// Records what is drawn; draws no glyphs, so pixels stay exactly what the program filled.
class SimTextRenderer final : public ITextRenderer {
public:
    void DrawText(Bitmap& target, const Rect& clip, std::wstring_view text, const Rect& box,
                  const TextStyle& style) override;
    Size MeasureText(std::wstring_view text, const FontDesc& font) override;
    void SetSink(std::vector<TextDraw>* sink) { m_sink = sink; }
    const std::vector<TextDraw>& Unattached() const { return m_unattached; }

private:
    std::vector<TextDraw>* m_sink = nullptr;
    std::vector<TextDraw> m_unattached;  // drawn outside a window's paint (memory surfaces)
};

class SimUiHost final : public IUiHost {
public:
    explicit SimUiHost(SimClock& clock) : m_clock(clock) {}

    // --- IUiHost ---
    void SetEventSink(IUiEvents* sink) override { m_sink = sink; }
    ITextRenderer& TextRenderer() override { return m_text; }
    bool CreateWindow(WindowHandle, const CreateParams&) override;
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
    void SetIcon(WindowHandle h, const Bitmap& icon) override { if (SimWindow* w = Find(h)) w->icon = icon; }
    void SetFocus(WindowHandle h) override { if (Find(h)) m_focus = h; }
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
    bool KillTimer(WindowHandle, uintptr_t id) override;
    int MessageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption, uint32_t flags) override;
    int TrackPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items, Point screen) override;
    bool BrowseForFolder(WindowHandle owner, std::wstring_view title, const FolderBrowserCallback& callback) override;
    void SetCursor(CursorKind cursor) override { m_cursor = cursor; }
    Rect GetPrimaryScreen() override { return m_primary; }
    Rect GetVirtualScreen() override { return m_virtual; }
    Rect GetWorkArea() override { return m_workArea; }
    Point GetCursorPos() override { return m_cursorPos; }
    uint32_t GetDoubleClickTime() override { return m_doubleClickTime; }
    bool WaitForEvents(bool block) override;
    void Wake() override;

    // --- what a test reads ---
    const SimWindow* Find(WindowHandle) const;
    SimWindow* Find(WindowHandle);
    // A child of parent with this control id, or a top-level window with this text.
    WindowHandle FindControl(WindowHandle parent, int controlId) const;
    WindowHandle FindTopLevel(std::wstring_view text) const;
    std::vector<WindowHandle> TopLevelWindows() const;
    WindowHandle Focus() const { return m_focus; }
    // The top-level window last brought to the front for the user (empty: none yet).
    WindowHandle Foreground() const { return m_foreground; }
    CursorKind Cursor() const { return m_cursor; }
    bool HasTimer(WindowHandle, uintptr_t id) const;
    // Paints the window now (as the screen would) and returns what it drew.
    const SimWindow& Paint(WindowHandle);
    // The client area of a top-level window with its visible children drawn in, as on screen.
    Bitmap Composite(WindowHandle topLevel);
    const std::vector<ShownMessageBox>& MessageBoxes() const { return m_boxes; }
    const std::vector<ShownMenu>& Menus() const { return m_menus; }
    const std::vector<ShownFolderBrowser>& FolderBrowsers() const { return m_browsers; }
    const std::vector<std::string>& Failures() const { return m_failures; }

    // --- what a test does ---
    // Virtual time passes; every timer falling due fires in order of its due time.
    void Advance(uint32_t ms);
    void Click(WindowHandle);        // press and release in the middle (or a native control's click)
    void DoubleClick(WindowHandle);  // down, up, double-click down, up
    void RightClick(WindowHandle, Point client);
    void MouseDown(WindowHandle, Point client, bool doubleClick = false);
    void MouseUp(WindowHandle, Point client);
    void MouseMove(WindowHandle, Point client);
    void MouseLeave(WindowHandle);
    bool KeyDown(WindowHandle, int virtualKey);
    void SelectComboItem(WindowHandle, int index);
    void TypeText(WindowHandle, std::wstring_view text);
    void RequestClose(WindowHandle);
    void Minimize(WindowHandle);
    void Restore(WindowHandle);
    // A user drag of a top-level window to a new outer top-left corner.
    void DragTo(WindowHandle, Point topLeft);
    // The answer to the next message box; whileShown runs while it is up (events arriving then).
    void ExpectMessageBox(int answer, std::function<void()> whileShown = {});
    void ExpectMenu(int answer);
    // The next folder browser: the user selects this folder and confirms (nothing: cancels).
    void ExpectFolderBrowser(std::optional<std::wstring> choice);
    // Input that arrives when the program next waits (a modal loop, a pump).
    void Queue(std::function<void()> action);
    // How long (real time) a blocking wait may wait for another thread before giving up.
    void AllowWaitingForOtherThreads(uint32_t ms) { m_idleWaitMs = ms; }
    void SetFailureHandler(std::function<void(const std::string&)> handler) { m_onFailure = std::move(handler); }
    void SetScreens(Rect primary, Rect virtualScreen, Rect workArea);
    void SetDoubleClickTime(uint32_t ms) { m_doubleClickTime = ms; }

private:
    struct Timer {
        WindowHandle handle;
        uintptr_t id = 0;
        uint32_t period = 0;
        uint64_t due = 0;
        uint64_t order = 0;
    };

    void Fail(const std::string& message);
    Timer* NextTimer(uint64_t until);
    void Fire(Timer& timer);
    Point Middle(WindowHandle) const;

    SimClock& m_clock;
    IUiEvents* m_sink = nullptr;
    SimTextRenderer m_text;
    std::map<uint32_t, SimWindow> m_windows;
    std::vector<Timer> m_timers;
    uint64_t m_order = 0;
    uint64_t m_zCounter = 0;
    WindowHandle m_focus;
    WindowHandle m_foreground;
    CursorKind m_cursor = CursorKind::Arrow;
    Point m_cursorPos;
    uint32_t m_doubleClickTime = 500;
    Rect m_primary{0, 0, 1280, 1024};
    Rect m_virtual{0, 0, 1280, 1024};
    Rect m_workArea{0, 0, 1280, 984};

    std::deque<std::pair<int, std::function<void()>>> m_boxAnswers;
    std::vector<ShownMessageBox> m_boxes;
    std::deque<int> m_menuAnswers;
    std::vector<ShownMenu> m_menus;
    std::deque<std::optional<std::wstring>> m_browserAnswers;
    std::vector<ShownFolderBrowser> m_browsers;
    std::deque<std::function<void()>> m_script;
    int m_autoAdvances = 0;
    uint32_t m_idleWaitMs = 0;

    std::mutex m_wakeMutex;
    std::condition_variable m_wakeCondition;
    bool m_woken = false;

    std::vector<std::string> m_failures;
    std::function<void(const std::string&)> m_onFailure;
};

}  // namespace platform::sim
