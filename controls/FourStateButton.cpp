#include "FourStateButton.h"

#include <optional>

#include "framework/Runtime.h"
#include "platform/PictureFile.h"

namespace {

constexpr int kFramePressed = 0;
constexpr int kFrameNormal = 1;
constexpr int kFrameHover = 2;
constexpr int kFrameDisabled = 3;
constexpr int kFrameCount = 4;
constexpr UINT_PTR kToolId = 1;

struct Look {
    int frame;
    COLORREF text;
};

// The pressed look wins over everything; a disabled button never shows the hover frame.
Look LookFor(UINT itemState, BOOL hover) {
    if (itemState & ODS_SELECTED) return {kFramePressed, RGB(89, 90, 107)};
    if (itemState & ODS_DISABLED) return {kFrameDisabled, RGB(120, 119, 117)};
    if (hover) return {kFrameHover, RGB(88, 95, 120)};
    return {kFrameNormal, RGB(75, 135, 255)};
}

}  // namespace

BEGIN_MESSAGE_MAP(CFourStateButton, CBitmapButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CFourStateButton::~CFourStateButton() {
    // m_bmpStrip only borrows the handle; the strip is deleted once, here.
    m_bmpStrip.Detach();
    if (m_hStrip && AfxRuntime::IsRunning()) ::DeleteObject(m_hStrip);
    m_hStrip = {};
    m_ToolTip.DestroyWindow();
}

void CFourStateButton::LoadStrip(std::wstring path) {
    // Decoded before anything is let go, so a bad file leaves the button as it was.
    std::optional<platform::Bitmap> picture = platform::LoadPictureFile(path);
    if (!picture || picture->Width() < kFrameCount) return;
    if (m_hStrip) {
        m_bmpStrip.Detach();
        ::DeleteObject(m_hStrip);
        m_hStrip = {};
    }
    m_hStrip = CreateBitmapHandle(std::move(*picture));
    AttachStrip();
}

void CFourStateButton::AttachStrip() {
    if (m_hStrip) {
        m_bmpStrip.Detach();
        m_bmpStrip.Attach(m_hStrip);
    }
    const platform::Bitmap* strip = m_bmpStrip.Get();
    if (!strip) return;
    // Columns past four whole frames are never shown.
    m_nFrameWidth = strip->Width() / kFrameCount;
    m_nFrameHeight = strip->Height();
    SetWindowPos(nullptr, 0, 0, m_nFrameWidth, m_nFrameHeight, SWP_NOMOVE | SWP_NOOWNERZORDER);
}

void CFourStateButton::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT request;
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = 1;
        m_bTracking = ::TrackMouseEvent(&request);
    }
    CBitmapButton::OnMouseMove(flags, point);
}

LRESULT CFourStateButton::OnMouseHover(WPARAM, LPARAM) {
    m_bHover = TRUE;
    Invalidate(TRUE);
    return 0;
}

LRESULT CFourStateButton::OnMouseLeave(WPARAM, LPARAM) {
    m_bHover = FALSE;
    m_bTracking = FALSE;
    Invalidate(TRUE);
    return 0;
}

void CFourStateButton::DrawItem(LPDRAWITEMSTRUCT record) {
    CDC* dc = record->hDC;
    const Look look = LookFor(record->itemState, m_bHover);

    // Without a strip there is no picture to copy; what the erase left stays.
    if (m_bmpStrip.Get()) {
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* previous = memory.SelectObject(&m_bmpStrip);
        dc->BitBlt(0, 0, m_nFrameWidth, m_nFrameHeight, &memory, look.frame * m_nFrameWidth, 0, SRCCOPY);
        memory.SelectObject(previous);
        memory.DeleteDC();
    }

    const std::wstring text = GetWindowText();
    if (!text.empty()) {
        const COLORREF oldColor = dc->SetTextColor(look.text);
        dc->SetBkMode(TRANSPARENT);
        CRect box = record->rcItem;
        dc->DrawText(text, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        dc->SetTextColor(oldColor);
    }
}

void CFourStateButton::CreateToolTip() {
    if (m_ToolTip.IsCreated()) return;
    m_ToolTip.Create(this);
    m_ToolTip.Activate(FALSE);
}

BOOL CFourStateButton::PreTranslateMessage(MSG* pMsg) {
    CreateToolTip();
    m_ToolTip.RelayEvent(pMsg);
    return CBitmapButton::PreTranslateMessage(pMsg);
}

void CFourStateButton::SetToolTipText(const wchar_t* text) {
    if (!text) return;
    CreateToolTip();
    if (m_ToolTip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_ToolTip.AddTool(this, text, &client, kToolId);
    }
    m_ToolTip.UpdateTipText(text, this, kToolId);
    m_ToolTip.Activate(TRUE);
}
