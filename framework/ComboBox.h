// Drop-down lists: the items are kept here as well, so reading them back never needs the screen.
#pragma once

#include <string>
#include <vector>

#include "framework/Wnd.h"

inline constexpr int CB_ERR = -1;

class CComboBox : public CWnd {
public:
    int AddString(LPCTSTR text);
    void ResetContent();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int SetCurSel(int index);  // CB_ERR (and no selection) for an index outside the list
    int GetCurSel() const;
    int GetLBText(int index, std::wstring& text) const;

private:
    std::vector<std::wstring> m_items;
};
