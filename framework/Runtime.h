// The framework's state for one run: the window table, the posted-message queue, the bitmap
// handles and the event funnel from the platform. One exists while the program (or a test)
// runs; it installs the platform it is given and removes it again.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "framework/Afx.h"
#include "framework/DialogTemplate.h"
#include "framework/Gdi.h"
#include "framework/SystemBroadcasts.h"
#include "platform/Platform.h"

class CWnd;
class CWinApp;

class BitmapTable {
public:
    HBITMAP Add(platform::Bitmap bitmap);
    platform::Bitmap* Find(HBITMAP handle);
    bool Remove(HBITMAP handle);
    size_t Count() const { return m_bitmaps.size(); }

private:
    std::unordered_map<uint32_t, platform::Bitmap> m_bitmaps;
    uint32_t m_next = 0;
};

class AfxRuntime final : private platform::IUiEvents {
public:
    AfxRuntime(platform::IPlatform& platform, ResourceTable resources);
    ~AfxRuntime() override;
    AfxRuntime(const AfxRuntime&) = delete;
    AfxRuntime& operator=(const AfxRuntime&) = delete;

    static AfxRuntime& Get();
    static bool IsRunning();

    platform::IPlatform& Platform() { return m_platform; }
    platform::IUiHost& Ui() { return m_platform.Ui(); }
    const ResourceTable& Resources() const { return m_resources; }
    BitmapTable& Bitmaps() { return m_bitmaps; }
    CWinApp* App() const { return m_app; }
    void SetApp(CWinApp* app) { m_app = app; }
    platform::CursorKind SwapCursor(platform::CursorKind cursor) { return std::exchange(m_cursor, cursor); }

    // Windows.
    HWND Register(CWnd* wnd);
    void Rebind(HWND hwnd, CWnd* wnd);
    void Unregister(HWND hwnd);
    CWnd* Lookup(HWND hwnd) const;
    std::vector<CWnd*> Children(HWND parent) const;
    std::vector<CWnd*> TopLevelWindows() const;

    // Messages. Post is the one call safe from any thread.
    bool Post(const MSG& message);
    LRESULT Dispatch(const MSG& message);
    bool WalkPreTranslate(MSG& message);
    // Takes one posted message out of the queue (or only looks at it), if any.
    bool TakePosted(MSG& message, bool remove = true);
    // One turn of a message loop: a posted message, else the platform's events (waiting for
    // one when block is set). False when nothing can happen any more.
    bool PumpMessage(bool block);
    // Handles everything pending without waiting.
    void PumpPending();

    // Painting: the surface of the window being painted, or nullptr outside its paint.
    platform::Surface* PaintSurface(HWND hwnd) const;

    // Pointer tracking for hover and leave notifications.
    BOOL TrackMouseEvent(const TRACKMOUSEEVENT& request);

    // An icon of the resources, drawn at its first load and shared from then on (nobody
    // deletes it); an empty handle when there is no such icon.
    HICON LoadIcon(int id);

    // While a message box is up, its owner's top-level window takes no input.
    void BeginModalBox(HWND owner);
    void EndModalBox(HWND owner);

private:
    // IUiEvents: what the platform reports becomes window messages.
    void OnPaint(platform::WindowHandle, platform::Surface&) override;
    void OnMouseDown(platform::WindowHandle, platform::MouseButton, platform::Point, bool doubleClick) override;
    void OnMouseUp(platform::WindowHandle, platform::MouseButton, platform::Point) override;
    void OnMouseMove(platform::WindowHandle, platform::Point) override;
    void OnMouseLeave(platform::WindowHandle) override;
    bool OnKeyDown(platform::WindowHandle, int virtualKey) override;
    void OnControlNotify(platform::WindowHandle, platform::ControlNotify) override;
    void OnSysCommand(platform::WindowHandle, platform::SysCommand) override;
    void OnMoving(platform::WindowHandle, platform::Rect& proposed) override;
    void OnMoved(platform::WindowHandle) override;
    void OnTimer(platform::WindowHandle, uintptr_t id) override;
    void OnWake() override;
    // No input reaches a window whose top-level window is disabled (the owner of a modal
    // dialog) or waits behind a message box, whichever backend it came from.
    bool AcceptsInput(platform::WindowHandle) override;

    void DeliverInput(const MSG& message);

    CWnd* TopLevelOf(CWnd* wnd) const;
    std::unordered_map<uint32_t, int> m_modalBoxOwners;  // top-level window -> boxes open over it

    struct Tracking {
        DWORD flags = 0;
        DWORD hoverTime = 0;
        CPoint lastPoint;
    };

    platform::IPlatform& m_platform;
    ResourceTable m_resources;
    BitmapTable m_bitmaps;
    CWinApp* m_app = nullptr;
    platform::CursorKind m_cursor = platform::CursorKind::Arrow;

    std::unordered_map<uint32_t, CWnd*> m_windows;
    uint32_t m_nextHandle = 0;

    std::mutex m_queueMutex;  // guards the queue and the set of live handles
    std::deque<MSG> m_posted;
    std::unordered_set<uint32_t> m_live;

    std::unordered_map<uint32_t, platform::Surface*> m_painting;
    std::unordered_map<uint32_t, Tracking> m_tracking;
    std::unordered_map<int, HICON> m_icons;
    std::optional<SystemBroadcasts> m_broadcasts;
};

// Free functions in the classic style, on the current runtime.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
inline constexpr UINT PM_NOREMOVE = 0;
inline constexpr UINT PM_REMOVE = 1;
// Delivers pending platform events, then takes one posted message when there is one.
BOOL PeekMessage(MSG* message, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, void* unused = nullptr);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetTickCount();
void Sleep(DWORD ms);
// Ends the process at once with this exit code.
[[noreturn]] void AfxExitProcess(UINT code);
UINT GetDoubleClickTime();
// Finds one of the program's own top-level windows by its title (and class name, when given).
HWND FindWindow(LPCTSTR className, LPCTSTR windowName);
BOOL IsWindow(HWND hwnd);

using HCURSOR = platform::CursorKind;
inline constexpr HCURSOR IDC_ARROW = platform::CursorKind::Arrow;
inline constexpr HCURSOR IDC_WAIT = platform::CursorKind::Wait;
HCURSOR LoadCursor(HCURSOR which);
HCURSOR SetCursor(HCURSOR cursor);
// A shared icon of the program's resources (empty when there is none, or no runtime).
HICON LoadIcon(UINT id);
// The size of a standard icon.
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);
