#include "framework/Dialog.h"

#include <cstdio>

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Runtime.h"
#include "framework/Static.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* parent)
    : m_nIDTemplate(static_cast<UINT>(dialogTemplate.id)), m_pTemplate(&dialogTemplate), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd && AfxRuntime::IsRunning()) DestroyWindow();
}

namespace {

// Controls nobody binds still behave as their class: a button draws, a combo keeps its items.
std::unique_ptr<CWnd> MakeControl(WindowClass windowClass) {
    switch (windowClass) {
        case WindowClass::Button: return std::make_unique<CButton>();
        case WindowClass::Edit: return std::make_unique<CEdit>();
        case WindowClass::ComboBox: return std::make_unique<CComboBox>();
        case WindowClass::Static: return std::make_unique<CStatic>();
        case WindowClass::Frame: break;
    }
    return std::make_unique<CWnd>();
}

}  // namespace

CWnd* CDialog::OwnerForCreate() const {
    CWnd* owner = m_pParentWnd;
    while (owner && !owner->IsTopLevel()) owner = owner->GetParent();
    if (!owner) owner = AfxGetMainWnd();
    return owner == this ? nullptr : owner;
}

BOOL CDialog::CreateFromTemplate() {
    AfxRuntime& runtime = AfxRuntime::Get();
    const DialogTemplate* source = m_pTemplate ? m_pTemplate : runtime.Resources().FindDialog(static_cast<int>(m_nIDTemplate));
    if (!source) {
        std::fprintf(stderr, "vistrel: dialog template %u not found\n", m_nIDTemplate);
        return FALSE;
    }
    TemplateLoadResult loaded = LoadDialogTemplate(*source);
    if (!loaded.dialog) {
        // Nothing is created from a faulty template.
        std::fprintf(stderr, "vistrel: %s\n", loaded.error.c_str());
        return FALSE;
    }
    const LoadedDialog& dialog = *loaded.dialog;
    CWnd* owner = OwnerForCreate();

    platform::CreateParams params;
    params.kind = platform::WindowKind::TopLevel;
    params.owner = owner ? owner->GetSafeHwnd() : HWND{};
    params.text = dialog.caption;
    params.hasCaption = (dialog.style & WS_CAPTION) == WS_CAPTION;
    params.minimizeBox = params.hasCaption && (dialog.style & WS_MINIMIZEBOX);
    params.visible = false;
    const CRect client = platform::ClientArea(CRect::FromXYWH(0, 0, 1000, 1000), params.hasCaption);
    const int width = dialog.client.cx + (1000 - client.Width());
    const int height = dialog.client.cy + (1000 - client.Height());
    // Centred over the owner, or on the work area.
    CRect area = runtime.Ui().GetWorkArea();
    if (owner && owner->IsWindowVisible()) owner->GetWindowRect(&area);
    params.rect = CRect::FromXYWH(area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2, width, height);
    m_font = dialog.font;
    if (!CreateNativeWindow(params, WindowClass::Frame, dialog.style & ~WS_VISIBLE)) return FALSE;
    m_nID = 0;
    runtime.Ui().SetFont(m_hWnd, m_font);

    for (const LoadedControl& control : dialog.controls) {
        platform::CreateParams child;
        child.kind = control.kind;
        child.parent = m_hWnd;
        child.controlId = control.id;
        child.text = control.text;
        child.rect = control.rect;
        child.visible = control.style & WS_VISIBLE;
        child.enabled = !(control.style & WS_DISABLED);
        child.tabStop = control.style & WS_TABSTOP;
        child.startsGroup = control.style & WS_GROUP;
        child.defaultButton = control.windowClass == WindowClass::Button && (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        child.readOnly = control.windowClass == WindowClass::Edit && (control.style & ES_READONLY);
        auto wnd = MakeControl(control.windowClass);
        if (!wnd->CreateNativeWindow(child, control.windowClass, control.style)) {
            std::fprintf(stderr, "vistrel: dialog template %d: control %d could not be created\n", dialog.id, control.id);
            DestroyWindow();
            m_templateControls.clear();
            return FALSE;
        }
        runtime.Ui().SetFont(wnd->GetSafeHwnd(), m_font);
        m_templateControls.push_back(std::move(wnd));
    }

    const HWND self = m_hWnd;
    const BOOL setFocus = static_cast<BOOL>(SendMessage(WM_INITDIALOG));
    if (!IsWindow() || m_hWnd != self) return FALSE;
    if (setFocus) {
        for (CWnd* child : runtime.Children(m_hWnd)) {
            if ((child->GetStyle() & WS_TABSTOP) && child->IsWindowEnabled() && child->m_bVisible) {
                child->SetFocus();
                break;
            }
        }
    }
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd || m_bInModal) return -1;
    m_bInModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    CWnd* owner = OwnerForCreate();
    // The owner takes no input while the dialog runs, as with any modal window.
    const bool disableOwner = owner && owner->IsWindowEnabled();
    if (disableOwner) owner->EnableWindow(FALSE);
    if (CreateFromTemplate() && !m_bEndModal) {
        ShowWindow(SW_SHOW);
        RunModalLoop();
    }
    if (disableOwner && owner->IsWindow()) owner->EnableWindow(TRUE);
    m_bInModal = false;
    if (m_hWnd) DestroyWindow();
    m_templateControls.clear();
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    AfxRuntime& runtime = AfxRuntime::Get();
    while (!m_bEndModal) {
        if (!runtime.PumpMessage(true)) break;  // nothing can ever end it: give up with -1
        if (!m_hWnd) break;                      // destroyed from inside
    }
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_pTemplate = nullptr;
    m_pParentWnd = parent;
    return Create();
}

BOOL CDialog::Create() {
    if (m_hWnd) return FALSE;
    if (!CreateFromTemplate()) return FALSE;
    const DialogTemplate* source = m_pTemplate ? m_pTemplate : AfxRuntime::Get().Resources().FindDialog(static_cast<int>(m_nIDTemplate));
    if (source && (source->style & WS_VISIBLE)) ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int result) {
    if (!m_bInModal) return;
    m_nModalResult = result;
    m_bEndModal = true;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

int CDialog::DefaultButtonId() const {
    for (CWnd* child : AfxRuntime::Get().Children(m_hWnd))
        if (child->GetWindowClass() == WindowClass::Button && (child->GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return child->GetDlgCtrlID();
    return IDOK;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    // The dialog keyboard: Escape cancels, Return presses the default button.
    if (pMsg->wParam == VK_ESCAPE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        return TRUE;
    }
    if (pMsg->wParam == VK_RETURN) {
        const int id = DefaultButtonId();
        CWnd* button = GetDlgItem(id);
        if (!button || button->IsWindowEnabled())
            SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), button ? button->GetSafeHwnd().value : 0);
        return TRUE;
    }
    return FALSE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog();
        case WM_CLOSE: SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)); return 0;
        default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
