#include "framework/Button.h"

#include "framework/Runtime.h"

int CButton::GetCheck() const {
    return m_hWnd && AfxRuntime::Get().Ui().GetCheck(m_hWnd) ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
    if (m_hWnd) AfxRuntime::Get().Ui().SetCheck(m_hWnd, check == BST_CHECKED);
}
