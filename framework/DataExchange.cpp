#include "framework/DataExchange.h"

#include <cstdio>
#include <cwchar>

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Wnd.h"

namespace {

CWnd* Control(CDataExchange* dx, int id) {
    CWnd* control = dx->m_pDlgWnd ? dx->m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!control) {
        std::fprintf(stderr, "vistrel: data exchange: no control %d in the dialog\n", id);
        dx->Fail();
    }
    return control;
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.GetSafeHwnd()) return;  // bound already (the exchange runs again later)
    if (!control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd)) {
        std::fprintf(stderr, "vistrel: data exchange: control %d cannot be bound\n", id);
        dx->Fail();
    }
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    CWnd* control = Control(dx, id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) value = control->GetWindowText();
    else control->SetWindowText(value.c_str());
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    CWnd* control = Control(dx, id);
    if (!control) return;
    if (!dx->m_bSaveAndValidate) {
        control->SetWindowText(std::to_wstring(value).c_str());
        return;
    }
    const std::wstring text = control->GetWindowText();
    wchar_t* end = nullptr;
    const long parsed = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || *end != L'\0') { dx->Fail(); return; }
    value = static_cast<int>(parsed);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    CWnd* control = Control(dx, id);
    if (!control) return;
    auto& button = static_cast<CButton&>(*control);
    if (dx->m_bSaveAndValidate) value = button.GetCheck();
    else button.SetCheck(value);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    CWnd* control = Control(dx, id);
    if (!control) return;
    auto& combo = static_cast<CComboBox&>(*control);
    if (dx->m_bSaveAndValidate) index = combo.GetCurSel();
    else combo.SetCurSel(index);
}
