#include "framework/Runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "framework/Wnd.h"

namespace {

AfxRuntime* g_runtime = nullptr;

// A reserved timer id for hover notifications, far above any id the program uses.
constexpr uintptr_t kHoverTimerId = 0xFFFF0001u;

}  // namespace

HBITMAP BitmapTable::Add(platform::Bitmap bitmap) {
    const HBITMAP handle{++m_next};
    m_bitmaps.emplace(handle.value, std::move(bitmap));
    return handle;
}

platform::Bitmap* BitmapTable::Find(HBITMAP handle) {
    auto it = m_bitmaps.find(handle.value);
    return it == m_bitmaps.end() ? nullptr : &it->second;
}

bool BitmapTable::Remove(HBITMAP handle) { return m_bitmaps.erase(handle.value) != 0; }

AfxRuntime::AfxRuntime(platform::IPlatform& platform, ResourceTable resources)
    : m_platform(platform), m_resources(resources) {
    if (g_runtime) {
        std::fputs("vistrel: a second framework runtime was started\n", stderr);
        std::abort();
    }
    platform::Install(&m_platform);
    m_platform.Ui().SetEventSink(this);
    g_runtime = this;
    m_broadcasts.emplace(m_platform);
}

AfxRuntime::~AfxRuntime() {
    m_broadcasts.reset();
    // Windows still alive belong to objects that outlive us; cut them loose without messages.
    for (auto& [value, wnd] : m_windows) wnd->m_hWnd = {};
    m_platform.Ui().SetEventSink(nullptr);
    platform::Install(nullptr);
    g_runtime = nullptr;
}

AfxRuntime& AfxRuntime::Get() {
    if (!g_runtime) {
        std::fputs("vistrel: no framework runtime\n", stderr);
        std::abort();
    }
    return *g_runtime;
}

bool AfxRuntime::IsRunning() { return g_runtime != nullptr; }

HWND AfxRuntime::Register(CWnd* wnd) {
    const HWND hwnd{++m_nextHandle};
    m_windows[hwnd.value] = wnd;
    std::lock_guard lock(m_queueMutex);
    m_live.insert(hwnd.value);
    return hwnd;
}

void AfxRuntime::Rebind(HWND hwnd, CWnd* wnd) {
    if (auto it = m_windows.find(hwnd.value); it != m_windows.end()) it->second = wnd;
}

void AfxRuntime::Unregister(HWND hwnd) {
    m_windows.erase(hwnd.value);
    m_tracking.erase(hwnd.value);
    std::lock_guard lock(m_queueMutex);
    m_live.erase(hwnd.value);
}

CWnd* AfxRuntime::Lookup(HWND hwnd) const {
    auto it = m_windows.find(hwnd.value);
    return it == m_windows.end() ? nullptr : it->second;
}

std::vector<CWnd*> AfxRuntime::Children(HWND parent) const {
    std::vector<std::pair<uint32_t, CWnd*>> found;
    for (auto& [value, wnd] : m_windows)
        if (wnd->m_hWndParent == parent && !wnd->m_bTopLevel) found.emplace_back(value, wnd);
    // Creation order, which is template order.
    std::sort(found.begin(), found.end());
    std::vector<CWnd*> children;
    for (auto& [value, wnd] : found) children.push_back(wnd);
    return children;
}

std::vector<CWnd*> AfxRuntime::TopLevelWindows() const {
    std::vector<std::pair<uint32_t, CWnd*>> found;
    for (auto& [value, wnd] : m_windows)
        if (wnd->m_bTopLevel) found.emplace_back(value, wnd);
    std::sort(found.begin(), found.end());
    std::vector<CWnd*> windows;
    for (auto& [value, wnd] : found) windows.push_back(wnd);
    return windows;
}

bool AfxRuntime::Post(const MSG& message) {
    {
        std::lock_guard lock(m_queueMutex);
        if (!m_live.contains(message.hwnd.value)) return false;
        m_posted.push_back(message);
    }
    m_platform.Ui().Wake();
    return true;
}

bool AfxRuntime::TakePosted(MSG& message, bool remove) {
    std::lock_guard lock(m_queueMutex);
    if (m_posted.empty()) return false;
    message = m_posted.front();
    if (remove) m_posted.pop_front();
    return true;
}

LRESULT AfxRuntime::Dispatch(const MSG& message) {
    CWnd* wnd = Lookup(message.hwnd);
    if (!wnd) return 0;  // the window is gone: the message is dropped
    return wnd->WindowProc(message.message, message.wParam, message.lParam);
}

bool AfxRuntime::WalkPreTranslate(MSG& message) {
    for (CWnd* wnd = Lookup(message.hwnd); wnd; wnd = wnd->m_bTopLevel ? nullptr : wnd->GetParent()) {
        const HWND hwnd = wnd->m_hWnd;
        if (wnd->PreTranslateMessage(&message)) return true;
        if (Lookup(hwnd) != wnd) return true;  // destroyed on the way: nobody is left to receive it
    }
    return false;
}

void AfxRuntime::DeliverInput(const MSG& message) {
    MSG copy = message;
    if (!WalkPreTranslate(copy)) Dispatch(copy);
}

bool AfxRuntime::PumpMessage(bool block) {
    MSG message;
    if (TakePosted(message)) {
        DeliverInput(message);
        return true;
    }
    return Ui().WaitForEvents(block);
}

void AfxRuntime::PumpPending() {
    Ui().WaitForEvents(false);
    MSG message;
    while (TakePosted(message)) DeliverInput(message);
}

platform::Surface* AfxRuntime::PaintSurface(HWND hwnd) const {
    auto it = m_painting.find(hwnd.value);
    return it == m_painting.end() ? nullptr : it->second;
}

BOOL AfxRuntime::TrackMouseEvent(const TRACKMOUSEEVENT& request) {
    if (!Lookup(request.hwndTrack)) return FALSE;
    const uint32_t key = request.hwndTrack.value;
    if (request.dwFlags & TME_CANCEL) {
        if (auto it = m_tracking.find(key); it != m_tracking.end()) {
            it->second.flags &= ~request.dwFlags;
            if (!(it->second.flags & TME_HOVER)) (void)Ui().KillTimer(request.hwndTrack, kHoverTimerId);
        }
        return TRUE;
    }
    Tracking& tracking = m_tracking[key];
    tracking.flags |= request.dwFlags & (TME_HOVER | TME_LEAVE);
    tracking.hoverTime = request.dwHoverTime ? request.dwHoverTime : 400;
    // The pointer must rest for the hover time from now on.
    if (tracking.flags & TME_HOVER) Ui().SetTimer(request.hwndTrack, kHoverTimerId, tracking.hoverTime);
    return TRUE;
}

HICON AfxRuntime::LoadIcon(int id) {
    if (auto it = m_icons.find(id); it != m_icons.end()) return it->second;
    const IconResource* icon = m_resources.FindIcon(id);
    if (!icon || !icon->draw) return {};
    const HICON handle = m_bitmaps.Add(icon->draw());
    m_icons.emplace(id, handle);
    return handle;
}

void AfxRuntime::OnPaint(platform::WindowHandle hwnd, platform::Surface& surface) {
    CWnd* wnd = Lookup(hwnd);
    if (!wnd) return;
    m_painting[hwnd.value] = &surface;
    {
        CDC dc(&surface);
        wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc));
    }
    if (Lookup(hwnd)) wnd->SendMessage(WM_PAINT);
    m_painting.erase(hwnd.value);
}

CWnd* AfxRuntime::TopLevelOf(CWnd* wnd) const {
    while (wnd && !wnd->m_bTopLevel) wnd = wnd->GetParent();
    return wnd;
}

bool AfxRuntime::AcceptsInput(platform::WindowHandle hwnd) {
    CWnd* wnd = Lookup(hwnd);
    if (!wnd) return true;  // not ours: the host's own windows (a message box) decide for themselves
    if (!wnd->m_bEnabled) return false;
    CWnd* top = TopLevelOf(wnd);
    return !top || (top->m_bEnabled && !m_modalBoxOwners.contains(top->m_hWnd.value));
}

void AfxRuntime::BeginModalBox(HWND owner) {
    if (CWnd* top = TopLevelOf(Lookup(owner))) ++m_modalBoxOwners[top->m_hWnd.value];
}

void AfxRuntime::EndModalBox(HWND owner) {
    CWnd* top = TopLevelOf(Lookup(owner));
    if (!top) return;
    auto it = m_modalBoxOwners.find(top->m_hWnd.value);
    if (it != m_modalBoxOwners.end() && --it->second == 0) m_modalBoxOwners.erase(it);
}

void AfxRuntime::OnMouseDown(platform::WindowHandle hwnd, platform::MouseButton button, platform::Point point,
                             bool doubleClick) {
    CWnd* wnd = Lookup(hwnd);
    if (!wnd || !AcceptsInput(hwnd)) return;
    // Only buttons ask for double-clicks; everything else sees a second press.
    const bool wantsDouble = doubleClick && wnd->m_windowClass == WindowClass::Button;
    UINT message = button == platform::MouseButton::Left ? (wantsDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
                                                         : WM_RBUTTONDOWN;
    DeliverInput({hwnd, message, 0, MAKELPARAM(point.x, point.y)});
}

void AfxRuntime::OnMouseUp(platform::WindowHandle hwnd, platform::MouseButton button, platform::Point point) {
    if (!Lookup(hwnd)) return;
    DeliverInput({hwnd, button == platform::MouseButton::Left ? WM_LBUTTONUP : WM_RBUTTONUP, 0,
                  MAKELPARAM(point.x, point.y)});
}

void AfxRuntime::OnMouseMove(platform::WindowHandle hwnd, platform::Point point) {
    if (!Lookup(hwnd) || !AcceptsInput(hwnd)) return;
    if (auto it = m_tracking.find(hwnd.value); it != m_tracking.end()) {
        it->second.lastPoint = point;
        if (it->second.flags & TME_HOVER) Ui().SetTimer(hwnd, kHoverTimerId, it->second.hoverTime);
    }
    DeliverInput({hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y)});
}

void AfxRuntime::OnMouseLeave(platform::WindowHandle hwnd) {
    auto it = m_tracking.find(hwnd.value);
    if (it == m_tracking.end()) return;
    const bool wantsLeave = it->second.flags & TME_LEAVE;
    // A leave ends all tracking; the window asks again on its next move.
    m_tracking.erase(it);
    (void)Ui().KillTimer(hwnd, kHoverTimerId);
    if (wantsLeave) DeliverInput({hwnd, WM_MOUSELEAVE, 0, 0});
}

bool AfxRuntime::OnKeyDown(platform::WindowHandle hwnd, int virtualKey) {
    if (!Lookup(hwnd)) return false;
    if (!AcceptsInput(hwnd)) return true;  // consumed: the native control must not act on it either
    MSG message{hwnd, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0};
    if (WalkPreTranslate(message)) return true;
    Dispatch(message);
    return false;
}

void AfxRuntime::OnControlNotify(platform::WindowHandle hwnd, platform::ControlNotify notify) {
    CWnd* wnd = Lookup(hwnd);
    if (!wnd || !AcceptsInput(hwnd)) return;
    switch (notify) {
        case platform::ControlNotify::Clicked: wnd->NotifyParent(BN_CLICKED); break;
        case platform::ControlNotify::SelChange: wnd->NotifyParent(CBN_SELCHANGE); break;
        case platform::ControlNotify::EditChange: wnd->NotifyParent(EN_CHANGE); break;
    }
}

void AfxRuntime::OnSysCommand(platform::WindowHandle hwnd, platform::SysCommand command) {
    CWnd* wnd = Lookup(hwnd);
    if (!wnd) return;
    switch (command) {
        case platform::SysCommand::Close: wnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE); break;
        case platform::SysCommand::Minimize: wnd->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE); break;
        case platform::SysCommand::Restore: wnd->SendMessage(WM_SYSCOMMAND, SC_RESTORE); break;
    }
}

void AfxRuntime::OnMoving(platform::WindowHandle hwnd, platform::Rect& proposed) {
    if (CWnd* wnd = Lookup(hwnd)) wnd->SendMessage(WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed));
}

void AfxRuntime::OnMoved(platform::WindowHandle hwnd) {
    CWnd* wnd = Lookup(hwnd);
    if (!wnd) return;
    const CRect origin = wnd->ClientOrigin();
    wnd->SendMessage(WM_MOVE, 0, MAKELPARAM(origin.left, origin.top));
}

void AfxRuntime::OnTimer(platform::WindowHandle hwnd, uintptr_t id) {
    if (!Lookup(hwnd)) return;
    if (id == kHoverTimerId) {
        (void)Ui().KillTimer(hwnd, kHoverTimerId);
        auto it = m_tracking.find(hwnd.value);
        if (it == m_tracking.end() || !(it->second.flags & TME_HOVER)) return;
        it->second.flags &= ~TME_HOVER;
        const CPoint at = it->second.lastPoint;
        DeliverInput({hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(at.x, at.y)});
        return;
    }
    DeliverInput({hwnd, WM_TIMER, id, 0});
}

void AfxRuntime::OnWake() {
    MSG message;
    while (TakePosted(message)) DeliverInput(message);
}

// The classic free functions.

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return AfxRuntime::Get().Dispatch({hwnd, message, wParam, lParam});
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return AfxRuntime::IsRunning() && AfxRuntime::Get().Post({hwnd, message, wParam, lParam}) ? TRUE : FALSE;
}

BOOL PeekMessage(MSG* message, HWND, UINT, UINT, UINT removeFlags) {
    AfxRuntime& runtime = AfxRuntime::Get();
    MSG taken;
    const bool remove = removeFlags & PM_REMOVE;
    if (!runtime.TakePosted(taken, remove)) {
        // Nothing queued: let the platform deliver what is pending (input, due timers), which
        // may post more.
        runtime.Ui().WaitForEvents(false);
        if (!runtime.TakePosted(taken, remove)) return FALSE;
    }
    if (message) *message = taken;
    return TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* message) { return message ? AfxRuntime::Get().Dispatch(*message) : 0; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) {
    return request ? AfxRuntime::Get().TrackMouseEvent(*request) : FALSE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, void*) {
    AfxRuntime& runtime = AfxRuntime::Get();
    if (!runtime.Lookup(hwnd) || id == 0) return 0;
    runtime.Ui().SetTimer(hwnd, id, elapse);
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    AfxRuntime& runtime = AfxRuntime::Get();
    if (!runtime.Lookup(hwnd)) return FALSE;
    return runtime.Ui().KillTimer(hwnd, id) ? TRUE : FALSE;
}

DWORD GetTickCount() { return platform::Current().Clock().GetTickCount(); }
void Sleep(DWORD ms) { platform::Current().Clock().Sleep(ms); }
void AfxExitProcess(UINT code) {
    platform::Current().Processes().ExitProcess(static_cast<int>(code));
    std::abort();  // a backend that came back would let a fatal path run on
}
UINT GetDoubleClickTime() { return AfxRuntime::Get().Ui().GetDoubleClickTime(); }

HWND FindWindow(LPCTSTR className, LPCTSTR windowName) {
    for (CWnd* wnd : AfxRuntime::Get().TopLevelWindows()) {
        // Dialogs are the only top-level class the program makes.
        if (className && std::wstring_view(className) != L"#32770") continue;
        if (windowName && wnd->GetWindowText() != windowName) continue;
        return wnd->m_hWnd;
    }
    return {};
}

BOOL IsWindow(HWND hwnd) { return AfxRuntime::IsRunning() && AfxRuntime::Get().Lookup(hwnd) ? TRUE : FALSE; }

HCURSOR LoadCursor(HCURSOR which) { return which; }

HICON LoadIcon(UINT id) {
    return AfxRuntime::IsRunning() ? AfxRuntime::Get().LoadIcon(static_cast<int>(id)) : HICON{};
}

int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

HCURSOR SetCursor(HCURSOR cursor) {
    AfxRuntime& runtime = AfxRuntime::Get();
    runtime.Ui().SetCursor(cursor);
    return runtime.SwapCursor(cursor);
}
