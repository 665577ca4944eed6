#include "framework/Button.h"

#include "framework/Runtime.h"

int CButton::GetCheck() const {
    return m_hWnd && AfxRuntime::Get().Ui().GetCheck(m_hWnd) ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
    if (m_hWnd) AfxRuntime::Get().Ui().SetCheck(m_hWnd, check == BST_CHECKED);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT record) {
    const bool pressed = record->itemState & ODS_SELECTED;
    record->hDC->FillSolidRect(record->rcItem, pressed ? RGB(200, 200, 200) : RGB(225, 225, 225));
    CBrush frame(RGB(130, 130, 130));
    record->hDC->FrameRect(record->rcItem, &frame);
}
