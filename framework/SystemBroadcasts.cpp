#include "framework/SystemBroadcasts.h"

#include "framework/Runtime.h"
#include "framework/Wnd.h"

namespace {

// Sends to every top-level window in creation order; a window that ends during the round is
// skipped from then on. The first refusal of a query is the answer.
LRESULT Broadcast(UINT message, WPARAM wParam, LPARAM lParam, LRESULT refusal = -1) {
    std::vector<HWND> windows;
    for (CWnd* wnd : AfxRuntime::Get().TopLevelWindows()) windows.push_back(wnd->m_hWnd);
    LRESULT answer = 0;
    for (HWND hwnd : windows) {
        if (!AfxRuntime::Get().Lookup(hwnd)) continue;
        const LRESULT result = ::SendMessage(hwnd, message, wParam, lParam);
        if (refusal != -1 && result == refusal) answer = refusal;
    }
    return answer;
}

}  // namespace

SystemBroadcasts::SystemBroadcasts(platform::IPlatform& platform) : m_platform(platform) {
    m_platform.Power().SetPowerHandler([](const platform::PowerBroadcast& event) {
        const auto code = static_cast<WPARAM>(event.event);
        if (event.target) return ::SendMessage(event.target, WM_POWERBROADCAST, code, 0) != BROADCAST_QUERY_DENY;
        return Broadcast(WM_POWERBROADCAST, code, 0, BROADCAST_QUERY_DENY) != BROADCAST_QUERY_DENY;
    });
    m_platform.Session().SetSessionHandler([](const platform::SessionEvent& event) {
        if (AfxRuntime::Get().Lookup(event.target))
            ::SendMessage(event.target, WM_WTSSESSION_CHANGE, static_cast<WPARAM>(event.change), event.sessionId);
    });
    m_platform.Session().SetDisplayChangeHandler([](const platform::DisplayChange& change) {
        Broadcast(WM_DISPLAYCHANGE, static_cast<WPARAM>(change.bitsPerPixel), MAKELPARAM(change.width, change.height));
    });
    m_platform.Power().SetScreenSaverChangeHandler([] { Broadcast(WM_SETTINGCHANGE, SPI_SETSCREENSAVEACTIVE, 0); });
}

SystemBroadcasts::~SystemBroadcasts() {
    m_platform.Power().SetPowerHandler({});
    m_platform.Session().SetSessionHandler({});
    m_platform.Session().SetDisplayChangeHandler({});
    m_platform.Power().SetScreenSaverChangeHandler({});
}
