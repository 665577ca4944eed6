#include "framework/ComboBox.h"

#include "framework/Runtime.h"

int CComboBox::AddString(LPCTSTR text) {
    m_items.emplace_back(text ? text : L"");
    if (m_hWnd) AfxRuntime::Get().Ui().ComboAdd(m_hWnd, m_items.back());
    return GetCount() - 1;
}

void CComboBox::ResetContent() {
    m_items.clear();
    if (m_hWnd) AfxRuntime::Get().Ui().ComboReset(m_hWnd);
}

int CComboBox::SetCurSel(int index) {
    const bool inside = index >= 0 && index < GetCount();
    if (m_hWnd) AfxRuntime::Get().Ui().ComboSetSelection(m_hWnd, inside ? index : -1);
    return inside ? index : CB_ERR;
}

int CComboBox::GetCurSel() const {
    if (!m_hWnd) return CB_ERR;
    const int index = AfxRuntime::Get().Ui().ComboGetSelection(m_hWnd);
    return index >= 0 && index < GetCount() ? index : CB_ERR;
}

int CComboBox::GetLBText(int index, std::wstring& text) const {
    if (index < 0 || index >= GetCount()) return CB_ERR;
    text = m_items[static_cast<size_t>(index)];
    return static_cast<int>(text.size());
}
