// The preview on the whole screen (command 32775, F11): a key ends it at once, a mouse move
// once it has been up for two seconds, so the move that chose it does not end it.
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"

namespace {

constexpr DWORD kMoveGrace = 2000;
constexpr int32_t kWindowStyle = static_cast<int32_t>(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER);

}  // namespace

void CTaviDlg::OnFullScreen() {
    if (m_arrVideoDevices.empty()) {
        AfxMessageBox(GetCatalogueText(6001).c_str(), MB_ICONEXCLAMATION);
        return;
    }
    (void)SetFullScreen(true);
    (void)platform::Current().Power().SetScreenSaverActive(false, true);
}

HRESULT CTaviDlg::SetFullScreen(bool on) {
    ComPtr<IVideoWindow> window;
    if (!m_pGraph) return E_POINTER;
    if (HRESULT hr = m_pGraph.As(window); FAILED(hr)) return hr;
    const HWND preview = m_staticPreview.GetSafeHwnd();
    if (on) {
        (void)window->put_Owner(preview);
        (void)window->put_MessageDrain(m_hWnd);
        const HRESULT hr = window->put_FullScreenMode(true);
        m_bFullScreen = 1;
        m_dwFullScreenStart = ::GetTickCount();
        return hr;
    }
    m_dwFullScreenStart = 0;
    m_bFullScreen = 0;
    (void)window->put_FullScreenMode(false);
    (void)window->put_MessageDrain(HWND{});
    (void)window->put_Owner(preview);
    const bool large = m_nCurResolution >= 1;
    (void)window->put_Left(0);
    (void)window->put_Top(0);
    (void)window->put_Width(large ? 640 : 352);
    (void)window->put_Height(large ? 480 : 288);
    (void)window->put_WindowStyle(kWindowStyle);
    return window->put_Visible(true);
}

void CTaviDlg::LeaveFullScreen() {
    (void)SetFullScreen(false);
    (void)platform::Current().Power().SetScreenSaverActive(true, false);
}

void CTaviDlg::OnMouseMove(UINT flags, CPoint point) {
    if (m_bFullScreen == 1 && ::GetTickCount() - m_dwFullScreenStart > kMoveGrace) LeaveFullScreen();
    CDialog::OnMouseMove(flags, point);
}

void CTaviDlg::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (m_bFullScreen == 1) LeaveFullScreen();
    CDialog::OnKeyDown(nChar, nRepCnt, nFlags);
}
