// Dialogs made from templates: modeless (Create) or modal (DoModal with its own nested loop).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Wnd.h"

using INT_PTR = intptr_t;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    // A dialog from a template that is not among the program's resources (tests use these).
    explicit CDialog(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create();
    // Ends the modal run with this result; a dialog not running modally is left alone.
    void EndDialog(int result);
    bool IsModal() const { return m_bInModal; }
    UINT GetTemplateId() const { return m_nIDTemplate; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateFromTemplate();
    CWnd* OwnerForCreate() const;
    void RunModalLoop();
    int DefaultButtonId() const;

    UINT m_nIDTemplate = 0;
    const DialogTemplate* m_pTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_templateControls;
    bool m_bInModal = false;
    bool m_bEndModal = false;
    int m_nModalResult = -1;
};
