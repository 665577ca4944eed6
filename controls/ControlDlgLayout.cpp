// The control bar's looks and places, and the collapse of the main window to its top part.
#include <algorithm>
#include <iterator>

#include "ButtonStrip.h"
#include "ControlDlg.h"
#include "TaviDlg.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

namespace {

// What is left of the collapsed main window below its preview area's top.
constexpr int kCollapsedStrip = 60;

enum class Change { Keep, Show, Hide, Enable, Disable };

void Apply(CWnd& button, Change change) {
    switch (change) {
        case Change::Keep: break;
        case Change::Show: button.ShowWindow(SW_SHOW); break;
        case Change::Hide: button.ShowWindow(SW_HIDE); break;
        case Change::Enable: button.EnableWindow(TRUE); break;
        case Change::Disable: button.EnableWindow(FALSE); break;
    }
}

struct Look {
    Change start, stop, snapshot, preview;
};

// Recording hides the start button and stopping shows it again; the collapsed preview only
// takes start and snapshot away.
constexpr Look kLooks[] = {
    {Change::Enable, Change::Keep, Change::Enable, Change::Keep},        // 0 preview shown
    {Change::Hide, Change::Show, Change::Disable, Change::Disable},      // 1 recording
    {Change::Show, Change::Hide, Change::Enable, Change::Enable},        // 2 recording stopped
    {Change::Disable, Change::Keep, Change::Disable, Change::Keep},      // 3 preview collapsed
};

}  // namespace

void CControlDlg::UpdateButtons(int look) {
    if (look < 0 || look >= static_cast<int>(std::size(kLooks))) return;
    const Look& l = kLooks[look];
    Apply(m_btnStartRec, l.start);
    Apply(m_btnStopRec, l.stop);
    Apply(m_btnSnapshot, l.snapshot);
    Apply(m_btnPreview, l.preview);
}

void CControlDlg::OnBnClickedPreview() {
    m_bPreview = m_bPreview ? 0 : 1;
    // A later showing of the main window must not shrink it to the small size again.
    m_owner.m_bSmallWindow = 0;
    if (m_bPreview == 0)
        CollapsePreview();
    else
        RestorePreview();
}

void CControlDlg::CollapsePreview() {
    m_btnPreview.LoadStrip(m_strResPath + L"PreviewOn.bmp");
    m_btnPreview.SetToolTipText(GetCatalogueText(6014).c_str());
    CRect window;
    m_owner.GetWindowRect(&window);
    m_owner.m_staticPreview.GetWindowRect(&m_rcPreviewArea);
    m_nCaptionPart = m_rcPreviewArea.top - window.top;
    m_nPreviewPart = window.bottom - m_nCaptionPart - window.top;
    // The bottom edge stays where it was.
    m_owner.SetWindowPos(nullptr, window.left, window.bottom - m_nCaptionPart - kCollapsedStrip, window.Width(),
                         m_nCaptionPart + kCollapsedStrip, SWP_NOZORDER);
    UpdateButtons(3);
}

void CControlDlg::RestorePreview() {
    m_btnPreview.LoadStrip(m_strResPath + L"PreviewOff.bmp");
    m_btnPreview.SetToolTipText(GetCatalogueText(6010).c_str());
    CRect window;
    m_owner.GetWindowRect(&window);
    // Grown upwards, but never above the top of the screen.
    const int top = std::max(0, window.top - m_nPreviewPart + kCollapsedStrip);
    m_owner.SetWindowPos(nullptr, window.left, top, window.Width(), m_nCaptionPart + m_nPreviewPart, SWP_NOZORDER);
    UpdateButtons(0);
}

void CControlDlg::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    CRect client;
    GetClientRect(&client);
    // The first size message can come before the controls are there.
    if (!GetDlgItem(IDC_BAR_PREVIEW)) return;
    const int x0 = (client.Width() - kStripWidth) / 2;
    const int y0 = (client.Height() - kButtonHeight) / 2;
    auto place = [this](int id, int x, int y, int width, int height) {
        if (CWnd* control = GetDlgItem(id)) control->MoveWindow(x, y, width, height, TRUE);
    };
    place(IDC_BAR_STATUS, x0 - 67, y0 - 2, 69, 9);
    place(IDC_BAR_OPEN_FOLDER, x0, y0, kButtonWidth, kButtonHeight);
    place(IDC_BAR_PREVIEW, x0 + kButtonStep, y0, kButtonWidth, kButtonHeight);
    place(IDC_BAR_RECORD_START, x0 + 2 * kButtonStep, y0, kButtonWidth, kButtonHeight);
    place(IDC_BAR_RECORD_STOP, x0 + 2 * kButtonStep, y0, kButtonWidth, kButtonHeight);
    place(IDC_BAR_SNAPSHOT, x0 + 3 * kButtonStep, y0, kButtonWidth, kButtonHeight);
    place(IDC_BAR_HELP, x0 + 4 * kButtonStep, y0, kButtonWidth, kButtonHeight);
    m_staticStatus.SetFont(&m_fontStatus, TRUE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
