// Tooltips: the texts shown when the pointer rests on a tool window. The platform shows them;
// this control keeps the tools and whether it is active.
#pragma once

#include <string>
#include <vector>

#include "framework/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    bool IsCreated() const { return m_bCreated; }
    void Activate(BOOL activate);
    bool IsActive() const { return m_bActive; }
    BOOL AddTool(CWnd* tool, LPCTSTR text, const CRect* rect = nullptr, UINT_PTR id = 0);
    void UpdateTipText(LPCTSTR text, CWnd* tool, UINT_PTR id = 0);
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    // The platform tracks the pointer itself; relaying only has to keep the tip current.
    void RelayEvent(MSG*) {}

private:
    struct Tool {
        HWND hwnd;
        UINT_PTR id = 0;
        std::wstring text;
        CRect rect;
    };
    void Publish(const Tool& tool);

    bool m_bCreated = false;
    bool m_bActive = true;
    std::vector<Tool> m_tools;
};
