#include "framework/ToolTipCtrl.h"

#include "framework/Runtime.h"

BOOL CToolTipCtrl::Create(CWnd*, DWORD) {
    if (m_bCreated) return FALSE;
    m_bCreated = true;
    m_bActive = true;
    return TRUE;
}

void CToolTipCtrl::Activate(BOOL activate) {
    m_bActive = activate != FALSE;
    for (const Tool& tool : m_tools) Publish(tool);
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, LPCTSTR text, const CRect* rect, UINT_PTR id) {
    if (!m_bCreated || !tool || !tool->GetSafeHwnd()) return FALSE;
    Tool added{tool->GetSafeHwnd(), id, text ? text : L"", rect ? *rect : CRect{}};
    m_tools.push_back(added);
    Publish(added);
    return TRUE;
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* tool, UINT_PTR id) {
    if (!tool) return;
    for (Tool& t : m_tools) {
        if (t.hwnd == tool->GetSafeHwnd() && t.id == id) {
            t.text = text ? text : L"";
            Publish(t);
        }
    }
}

void CToolTipCtrl::Publish(const Tool& tool) {
    if (AfxRuntime::IsRunning()) AfxRuntime::Get().Ui().SetTooltip(tool.hwnd, tool.text, m_bActive);
}
