// The main window's layout: the bottom strip of buttons and status texts, the large and the
// small window of the resolution modes, and the first placement at the stored position.
#include "TaviDlg.h"
#include "controls/ButtonStrip.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

namespace {

// The small window of resolution mode 0 and the large one the other modes return to.
constexpr int kSmallWindowWidth = 360;
constexpr int kSmallWindowHeight = 370;
constexpr int kLargeWindowWidth = 644;
constexpr int kLargeWindowHeight = 557;
constexpr int kLargePreviewWidth = 636;
constexpr int kLargePreviewHeight = 477;
// What the window keeps around the preview area: its width less 8, its height less 80 (77 at
// the first showing of the small window).
constexpr int kPreviewWidthMargin = 8;
constexpr int kPreviewHeightMargin = 80;
constexpr int kFirstSmallPreviewHeightMargin = 77;

}  // namespace

void CTaviDlg::LayoutControls() {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    const int x0 = (w - kStripWidth) / 2;
    auto place = [this](int id, int x, int y, int width, int height) {
        if (CWnd* control = GetDlgItem(id)) control->MoveWindow(x, y, width, height, TRUE);
    };
    place(IDC_STATIC_STATUS, 5, h - 35, 69, 15);
    place(IDC_STATIC_RECORDING, 5, h - 19, 69, 15);
    place(IDC_STATIC_SCREENSAVER, 2, h - 44, x0 - 2, h - 5);  // reaches below the client area, which clips it
    place(IDC_BTN_OPEN_FOLDER, x0, h - 35, kButtonWidth, kButtonHeight);
    place(IDC_BTN_RECORD_START, x0 + kButtonStep, h - 35, kButtonWidth, kButtonHeight);
    place(IDC_BTN_RECORD_STOP, x0 + kButtonStep, h - 35, kButtonWidth, kButtonHeight);
    place(IDC_BTN_SNAPSHOT, x0 + 2 * kButtonStep, h - 35, kButtonWidth, kButtonHeight);
    place(IDC_BTN_HELP, x0 + 3 * kButtonStep, h - 35, kButtonWidth, kButtonHeight);

    m_fontStatus.DeleteObject();
    m_fontStatus.CreateFont(m_nResolution >= 1 ? 14 : 12, 0, 0, 0, FW_BOLD, FALSE, FALSE, 0, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    for (int id : {IDC_STATIC_STATUS, IDC_STATIC_RECORDING, IDC_STATIC_SCREENSAVER})
        if (CWnd* text = GetDlgItem(id)) text->SetFont(&m_fontStatus, TRUE);
    if (CWnd* notice = GetDlgItem(IDC_STATIC_SCREENSAVER)) notice->SetWindowText(GetCatalogueText(6042).c_str());
}

void CTaviDlg::ApplyWindowSize() {
    // The window's rectangles are kept in the control bar.
    RECT& rcLarge = m_dlgControlBar.m_rcLargeWindow;
    RECT& rcSmall = m_dlgControlBar.m_rcSmallWindow;
    if (m_nResolution >= 1) {
        GetWindowRect(&rcSmall);
        if (rcSmall.left != rcLarge.left) {
            // Moved since the large window was left: the large size where the window is now.
            SetWindowPos(nullptr, rcSmall.left, rcSmall.top, kLargeWindowWidth, kLargeWindowHeight, SWP_NOZORDER);
            m_staticPreview.SetWindowPos(nullptr, 1, 1, kLargePreviewWidth, kLargePreviewHeight, SWP_NOZORDER);
        } else {
            SetWindowPos(nullptr, rcLarge.left, rcLarge.top, rcLarge.Width() - 1, rcLarge.Height(), SWP_NOZORDER);
            m_staticPreview.SetWindowPos(nullptr, 1, 1, rcLarge.Width() - kPreviewWidthMargin,
                                         rcLarge.Height() - kPreviewHeightMargin, SWP_NOZORDER);
        }
    } else if (m_nResolution == 0) {
        SetWindowPos(nullptr, rcLarge.left, rcLarge.top, kSmallWindowWidth, kSmallWindowHeight, SWP_NOZORDER);
        GetWindowRect(&rcSmall);
        m_staticPreview.SetWindowPos(nullptr, 1, 1, rcSmall.Width() - kPreviewWidthMargin,
                                     rcSmall.Height() - kPreviewHeightMargin, SWP_NOZORDER);
    }
}

void CTaviDlg::OnShowWindow(BOOL show, UINT status) {
    CDialog::OnShowWindow(show, status);
    RECT& rcLarge = m_dlgControlBar.m_rcLargeWindow;
    RECT& rcSmall = m_dlgControlBar.m_rcSmallWindow;
    if (m_bFirstShow) {
        SetWindowPos(nullptr, m_nPosX, m_nPosY, 0, 0, SWP_NOSIZE);
        m_bFirstShow = 0;
    }
    if (m_bSmallWindow) GetWindowRect(&rcLarge);
    if (m_nResolution == 0 && m_bSmallWindow) {
        SetWindowPos(nullptr, rcLarge.left, rcLarge.top, kSmallWindowWidth, kSmallWindowHeight, SWP_NOZORDER);
        GetWindowRect(&rcSmall);
        m_staticPreview.SetWindowPos(nullptr, 1, 1, rcSmall.Width() - kPreviewWidthMargin,
                                     rcSmall.Height() - kFirstSmallPreviewHeightMargin, SWP_NOZORDER);
    }
    LayoutControls();
}

void CTaviDlg::OnMoving(UINT side, LPRECT rect) {
    CDialog::OnMoving(side, rect);
    GetWindowRect(m_nResolution == 0 ? &m_dlgControlBar.m_rcSmallWindow : &m_dlgControlBar.m_rcLargeWindow);
}
