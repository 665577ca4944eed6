#include "framework/Wnd.h"

#include <cwchar>

#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"

namespace {
constexpr COLORREF kBorderColor = RGB(100, 100, 100);
constexpr COLORREF kGrayText = RGB(109, 109, 109);
}  // namespace

bool MessageMapEntry::Matches(UINT msg, WPARAM wParam) const {
    if (msg < message || msg > messageLast) return false;
    if (msg != WM_COMMAND) return true;
    const UINT id = LOWORD(wParam);
    return HIWORD(wParam) == code && id >= idFirst && id <= idLast;
}

CWnd* msg::WndFromParam(LPARAM lParam) {
    return CWnd::FromHandle(HWND{static_cast<uint32_t>(lParam)});
}

const MessageMap* CWnd::ThisMessageMap() {
    static const MessageMap map{nullptr, {}};
    return &map;
}

CWnd::~CWnd() {
    if (m_hWnd && AfxRuntime::IsRunning()) DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hwnd) { return AfxRuntime::IsRunning() ? AfxRuntime::Get().Lookup(hwnd) : nullptr; }

BOOL CWnd::IsWindow() const { return m_hWnd && FromHandle(m_hWnd) == this; }

BOOL CWnd::CreateNativeWindow(const platform::CreateParams& params, WindowClass windowClass, DWORD style) {
    if (m_hWnd) return FALSE;
    AfxRuntime& runtime = AfxRuntime::Get();
    m_windowClass = windowClass;
    m_dwStyle = style;
    m_nID = static_cast<UINT>(params.controlId);
    m_hWndParent = params.parent;
    m_hWndOwner = params.owner;
    m_bTopLevel = params.kind == platform::WindowKind::TopLevel;
    m_bHasCaption = m_bTopLevel && params.hasCaption;
    m_bVisible = params.visible;
    m_bEnabled = params.enabled;
    m_strText = params.text;
    if (CWnd* parent = GetParent()) m_font = parent->m_font;
    HWND hwnd = runtime.Register(this);
    if (!runtime.Ui().CreateWindow(hwnd, params)) {
        runtime.Unregister(hwnd);
        return FALSE;
    }
    m_hWnd = hwnd;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (m_hWnd || !parent) return FALSE;
    CWnd* placeholder = parent->GetDlgItem(static_cast<int>(id));
    if (!placeholder || placeholder == this) return FALSE;
    // The member takes over the window with everything the placeholder knew about it.
    m_hWnd = placeholder->m_hWnd;
    m_nID = placeholder->m_nID;
    m_hWndParent = placeholder->m_hWndParent;
    m_windowClass = placeholder->m_windowClass;
    m_dwStyle = placeholder->m_dwStyle;
    m_bVisible = placeholder->m_bVisible;
    m_bEnabled = placeholder->m_bEnabled;
    m_strText = std::move(placeholder->m_strText);
    m_font = placeholder->m_font;
    placeholder->m_hWnd = {};
    AfxRuntime::Get().Rebind(m_hWnd, this);
    return TRUE;
}

void CWnd::Detach() {
    if (!m_hWnd) return;
    AfxRuntime::Get().Unregister(m_hWnd);
    m_hWnd = {};
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    AfxRuntime& runtime = AfxRuntime::Get();
    const HWND hwnd = m_hWnd;
    SendMessage(WM_DESTROY);
    for (CWnd* child : runtime.Children(hwnd)) child->DestroyWindow();
    if (FromHandle(hwnd) != this) return TRUE;  // destroyed while handling WM_DESTROY
    runtime.Ui().DestroyWindow(hwnd);
    SendMessage(WM_NCDESTROY);
    Detach();
    PostNcDestroy();
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const MSG current{m_hWnd, message, wParam, lParam};
    const MSG* previous = std::exchange(m_pCurrentMsg, &current);
    BOOL handled = FALSE;
    for (const MessageMap* map = GetMessageMap(); map && !handled; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.Matches(message, wParam)) {
                *result = entry.handler(*this, message, wParam, lParam);
                handled = TRUE;
                break;
            }
        }
    }
    // An owner-draw record nobody handled goes back to the control that asked (reflection).
    if (!handled && message == WM_DRAWITEM) {
        auto* record = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (CWnd* child = FromHandle(record->hwndItem)) handled = child->OnChildDrawItem(record);
        *result = handled;
    }
    m_pCurrentMsg = previous;
    return handled;
}

LRESULT CWnd::Default() {
    if (!m_pCurrentMsg) return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintDefault();
            return 0;
        case WM_ICONERASEBKGND:  // a minimised window's background is its client background
        case WM_ERASEBKGND: {
            auto* dc = reinterpret_cast<CDC*>(wParam);
            CRect client;
            GetClientRect(&client);
            if (m_bTopLevel) {
                HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), m_hWnd.value));
                if (brush) dc->FillRect(client, brush); else dc->FillSolidRect(client, kFaceColor);
            } else {
                HBRUSH brush = AskParentForColors(*dc, m_windowClass == WindowClass::Button ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
                if (brush) dc->FillRect(client, brush); else dc->FillSolidRect(client, kFaceColor);
            }
            return TRUE;
        }
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE: SendMessage(WM_CLOSE); break;
                case SC_MINIMIZE: ShowWindow(SW_MINIMIZE); break;
                case SC_RESTORE: ShowWindow(SW_RESTORE); break;
                default: break;
            }
            return 0;
        case WM_RBUTTONUP: {
            // A right click asks for a context menu at the pointer's screen position.
            CPoint point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(&point);
            SendMessage(WM_CONTEXTMENU, m_hWnd.value, MAKELPARAM(point.x, point.y));
            return 0;
        }
        case WM_KEYDOWN:
            // A context menu asked for from the keyboard carries no point: (-1, -1).
            if (wParam == static_cast<WPARAM>(VK_APPS)) {
                SendMessage(WM_CONTEXTMENU, m_hWnd.value, MAKELPARAM(-1, -1));
            } else if (wParam == static_cast<WPARAM>(VK_F1)) {
                CWnd* top = this;
                while (!top->IsTopLevel() && top->GetParent()) top = top->GetParent();
                top->SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0));
            }
            return 0;
        case WM_CONTEXTMENU:
            // Children let their parent decide, so a menu on a control reaches the dialog.
            if (CWnd* parent = GetParent()) return parent->SendMessage(message, wParam, lParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
            if (m_windowClass == WindowClass::Button && (m_dwStyle & BS_TYPEMASK) == BS_OWNERDRAW)
                return ButtonMouse(message, lParam);
            return 0;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return 0;  // no brush: the default colours
        default:
            return 0;
    }
}

LRESULT CWnd::ButtonMouse(UINT message, LPARAM lParam) {
    if (!m_bEnabled) return 0;
    if (message == WM_LBUTTONUP) {
        if (!m_bPushed) return 0;
        m_bPushed = false;
        Invalidate(FALSE);
        CRect client;
        GetClientRect(&client);
        if (client.Contains({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) NotifyParent(BN_CLICKED);
        return 0;
    }
    // Owner-drawn and radio buttons report the second press of a double-click as such and
    // nothing else: its release is no click. Other buttons take it as one more press.
    const DWORD type = m_dwStyle & BS_TYPEMASK;
    if (message == WM_LBUTTONDBLCLK && (type == BS_OWNERDRAW || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)) {
        NotifyParent(BN_DOUBLECLICKED);
        return 0;
    }
    m_bPushed = true;
    Invalidate(FALSE);
    return 0;
}

void CWnd::NotifyParent(UINT code) {
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(m_nID, code), static_cast<LPARAM>(m_hWnd.value));
}

HBRUSH CWnd::AskParentForColors(CDC& dc, UINT message) {
    CWnd* parent = GetParent();
    if (!parent) return nullptr;
    return reinterpret_cast<HBRUSH>(
        parent->SendMessage(message, reinterpret_cast<WPARAM>(&dc), static_cast<LPARAM>(m_hWnd.value)));
}

void CWnd::PaintDefault() {
    CPaintDC dc(this);
    if (!dc.IsValid() || m_bTopLevel) return;
    if (m_windowClass == WindowClass::Static) PaintStatic(dc);
    else if (m_windowClass == WindowClass::Button && (m_dwStyle & BS_TYPEMASK) == BS_GROUPBOX) PaintGroupBox(dc);
    else if (m_windowClass == WindowClass::Button && (m_dwStyle & BS_TYPEMASK) == BS_OWNERDRAW) PaintOwnerDrawButton(dc);
}

void CWnd::PaintStatic(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    if ((m_dwStyle & SS_TYPEMASK) == SS_BLACKRECT) {
        dc.FillSolidRect(client, RGB(0, 0, 0));
        return;
    }
    HBRUSH brush = AskParentForColors(dc, WM_CTLCOLORSTATIC);
    if (brush) dc.FillRect(client, brush); else dc.FillSolidRect(client, kFaceColor);
    if ((m_dwStyle & SS_TYPEMASK) == SS_ICON) {
        if (m_strText.size() > 1 && m_strText[0] == L'#')
            dc.DrawIcon(0, 0, ::LoadIcon(static_cast<UINT>(std::wcstoul(m_strText.c_str() + 1, nullptr, 10))));
        return;
    }
    if (!m_bEnabled) dc.SetTextColor(kGrayText);
    dc.SetBkMode(TRANSPARENT);
    UINT format = DT_WORDBREAK;
    switch (m_dwStyle & SS_TYPEMASK) {
        case SS_CENTER: format |= DT_CENTER; break;
        case SS_RIGHT: format |= DT_RIGHT; break;
        default: break;
    }
    dc.DrawText(m_strText, &client, format);
    if (m_dwStyle & WS_BORDER) {
        CBrush border(kBorderColor);
        dc.FrameRect(client, &border);
    }
}

void CWnd::PaintGroupBox(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    HBRUSH brush = AskParentForColors(dc, WM_CTLCOLORSTATIC);
    if (brush) dc.FillRect(client, brush); else dc.FillSolidRect(client, kFaceColor);
    const CSize extent = dc.GetTextExtent(m_strText);
    CRect frame{client.left, client.top + extent.cy / 2, client.right, client.bottom};
    CBrush border(RGB(160, 160, 160));
    dc.FrameRect(frame, &border);
    if (!m_strText.empty()) {
        CRect label = CRect::FromXYWH(8, 0, extent.cx + 4, extent.cy);
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(brush ? brush->GetColor() : kFaceColor);
        dc.DrawText(L" " + m_strText + L" ", &label, DT_LEFT | DT_SINGLELINE);
    }
}

void CWnd::PaintOwnerDrawButton(CDC& dc) {
    DRAWITEMSTRUCT record;
    record.CtlType = ODT_BUTTON;
    record.CtlID = m_nID;
    record.itemAction = ODA_DRAWENTIRE;
    record.itemState = (m_bPushed ? ODS_SELECTED : 0) | (m_bEnabled ? 0 : ODS_DISABLED);
    record.hwndItem = m_hWnd;
    record.hDC = &dc;
    GetClientRect(&record.rcItem);
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_DRAWITEM, m_nID, reinterpret_cast<LPARAM>(&record));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

CWnd* CWnd::GetParent() const { return FromHandle(m_hWndParent); }
CWnd* CWnd::GetOwner() const { return FromHandle(m_hWndOwner); }

CWnd* CWnd::GetDlgItem(int id) const {
    if (!m_hWnd) return nullptr;
    for (CWnd* child : AfxRuntime::Get().Children(m_hWnd))
        if (static_cast<int>(child->m_nID) == id) return child;
    return nullptr;
}

void CWnd::CheckDlgButton(int id, UINT check) {
    if (CWnd* child = GetDlgItem(id)) AfxRuntime::Get().Ui().SetCheck(child->m_hWnd, check == BST_CHECKED);
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    CWnd* child = GetDlgItem(id);
    return child && AfxRuntime::Get().Ui().GetCheck(child->m_hWnd) ? BST_CHECKED : BST_UNCHECKED;
}

void CWnd::SetDlgItemText(int id, LPCTSTR text) {
    if (CWnd* child = GetDlgItem(id)) child->SetWindowText(text);
}

std::wstring CWnd::GetDlgItemText(int id) const {
    CWnd* child = GetDlgItem(id);
    return child ? child->GetWindowText() : std::wstring();
}

void CWnd::SetWindowText(LPCTSTR text) {
    m_strText = text ? text : L"";
    if (!m_hWnd) return;
    AfxRuntime::Get().Ui().SetText(m_hWnd, m_strText);
    Invalidate();
}

std::wstring CWnd::GetWindowText() const {
    if (!m_hWnd) return m_strText;
    // Native input controls own their text; everything else keeps it here.
    if (m_windowClass == WindowClass::Edit || m_windowClass == WindowClass::ComboBox)
        return AfxRuntime::Get().Ui().GetText(m_hWnd);
    return m_strText;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    if (!font || !font->IsCreated()) return;
    m_font = font->Desc();
    if (!m_hWnd) return;
    AfxRuntime::Get().Ui().SetFont(m_hWnd, m_font);
    if (redraw) Invalidate();
}

const platform::FontDesc& CWnd::GetFontDesc() const { return m_font; }

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    // The desktop shows one picture per window; the big icon is the one it gets.
    if (bigIcon && m_hWnd && m_bTopLevel) {
        if (const platform::Bitmap* picture = BitmapFromHandle(icon)) AfxRuntime::Get().Ui().SetIcon(m_hWnd, *picture);
    }
    return std::exchange(bigIcon ? m_hIconBig : m_hIconSmall, icon);
}

BOOL CWnd::ShowWindow(int command) {
    if (!m_hWnd) return FALSE;
    const BOOL wasVisible = m_bVisible ? TRUE : FALSE;
    platform::IUiHost& ui = AfxRuntime::Get().Ui();
    switch (command) {
        case SW_HIDE:
            if (m_bTopLevel && m_bVisible) SendMessage(WM_SHOWWINDOW, FALSE, 0);
            m_bVisible = false;
            ui.SetVisible(m_hWnd, false);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            ui.SetShowState(m_hWnd, platform::ShowState::Minimized);
            break;
        case SW_RESTORE:
            ui.SetShowState(m_hWnd, platform::ShowState::Normal);
            [[fallthrough]];
        default:
            if (m_bTopLevel && !m_bVisible) SendMessage(WM_SHOWWINDOW, TRUE, 0);
            m_bVisible = true;
            ui.SetVisible(m_hWnd, true);
            break;
    }
    if (m_hWnd && (m_dwStyle & WS_VISIBLE) != (m_bVisible ? WS_VISIBLE : 0)) m_dwStyle ^= WS_VISIBLE;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    if (!m_hWnd || !m_bVisible) return FALSE;
    CWnd* parent = GetParent();
    return parent ? parent->IsWindowVisible() : TRUE;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    const BOOL wasDisabled = m_bEnabled ? FALSE : TRUE;
    if (!m_hWnd) return wasDisabled;
    m_bEnabled = enable != FALSE;
    m_dwStyle = m_bEnabled ? (m_dwStyle & ~WS_DISABLED) : (m_dwStyle | WS_DISABLED);
    AfxRuntime::Get().Ui().SetEnabled(m_hWnd, m_bEnabled);
    Invalidate();
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && m_bEnabled ? TRUE : FALSE; }

BOOL CWnd::IsIconic() const {
    return m_hWnd && AfxRuntime::Get().Ui().GetShowState(m_hWnd) == platform::ShowState::Minimized;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    const DWORD before = m_dwStyle;
    m_dwStyle = (m_dwStyle & ~remove) | add;
    return before != m_dwStyle;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags) {
    if (!m_hWnd) return FALSE;
    platform::IUiHost& ui = AfxRuntime::Get().Ui();
    const CRect old = ui.GetRect(m_hWnd);
    CRect rect = old;
    if (!(flags & SWP_NOMOVE)) rect = CRect::FromXYWH(x, y, rect.Width(), rect.Height());
    if (!(flags & SWP_NOSIZE)) rect.right = rect.left + cx, rect.bottom = rect.top + cy;
    if (rect != old) ui.SetRect(m_hWnd, rect);
    if (!(flags & SWP_NOZORDER)) ui.BringToTop(m_hWnd);
    if (flags & SWP_SHOWWINDOW) ShowWindow(SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW) ShowWindow(SW_HIDE);
    if (rect.left != old.left || rect.top != old.top) {
        const CRect origin = ClientOrigin();
        const CPoint at = m_bTopLevel ? CPoint{origin.left, origin.top} : CPoint{rect.left, rect.top};
        SendMessage(WM_MOVE, 0, MAKELPARAM(at.x, at.y));
    }
    if (rect.Width() != old.Width() || rect.Height() != old.Height()) {
        CRect client;
        GetClientRect(&client);
        SendMessage(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
    }
    if (!(flags & SWP_NOREDRAW)) Invalidate();
    return TRUE;
}

CRect CWnd::ClientOrigin() const {
    if (!m_hWnd) return {};
    const CRect rect = AfxRuntime::Get().Ui().GetRect(m_hWnd);
    if (m_bTopLevel) {
        const CRect client = platform::ClientArea(rect, m_bHasCaption);
        return client.Offset(rect.left, rect.top);
    }
    CWnd* parent = GetParent();
    const CRect parentOrigin = parent ? parent->ClientOrigin() : CRect{};
    return CRect::FromXYWH(parentOrigin.left + rect.left, parentOrigin.top + rect.top, rect.Width(), rect.Height());
}

void CWnd::GetWindowRect(LPRECT rect) const {
    if (!rect) return;
    if (!m_hWnd) { *rect = {}; return; }
    if (m_bTopLevel) { *rect = AfxRuntime::Get().Ui().GetRect(m_hWnd); return; }
    *rect = ClientOrigin();
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect) return;
    if (!m_hWnd) { *rect = {}; return; }
    const CRect r = AfxRuntime::Get().Ui().GetRect(m_hWnd);
    const CRect client = m_bTopLevel ? platform::ClientArea(r, m_bHasCaption) : CRect{0, 0, r.Width(), r.Height()};
    *rect = {0, 0, client.Width(), client.Height()};
}

void CWnd::ClientToScreen(CPoint* point) const {
    const CRect origin = ClientOrigin();
    point->x += origin.left;
    point->y += origin.top;
}

void CWnd::ClientToScreen(LPRECT rect) const {
    const CRect origin = ClientOrigin();
    *rect = rect->Offset(origin.left, origin.top);
}

void CWnd::ScreenToClient(CPoint* point) const {
    const CRect origin = ClientOrigin();
    point->x -= origin.left;
    point->y -= origin.top;
}

void CWnd::ScreenToClient(LPRECT rect) const {
    const CRect origin = ClientOrigin();
    *rect = rect->Offset(-origin.left, -origin.top);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    if (!m_hWnd || !placement) return FALSE;
    placement->showCmd = IsIconic() ? SW_SHOWMINIMIZED : (m_bVisible ? SW_SHOWNORMAL : SW_HIDE);
    placement->rcNormalPosition = AfxRuntime::Get().Ui().GetRect(m_hWnd);
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
    if (!m_hWnd || !placement) return FALSE;
    const CRect& r = placement->rcNormalPosition;
    SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER);
    ShowWindow(static_cast<int>(placement->showCmd));
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    if (!m_hWnd) return;
    CWnd* over = alternateOwner ? alternateOwner : GetOwner();
    CRect area;
    if (over && over->IsWindowVisible()) over->GetWindowRect(&area);
    else area = AfxRuntime::Get().Ui().GetWorkArea();
    CRect rect;
    GetWindowRect(&rect);
    SetWindowPos(nullptr, area.left + (area.Width() - rect.Width()) / 2, area.top + (area.Height() - rect.Height()) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CWnd::Invalidate(BOOL) {
    if (m_hWnd) AfxRuntime::Get().Ui().Invalidate(m_hWnd);
}

void CWnd::InvalidateRect(const CRect*, BOOL erase) { Invalidate(erase); }

BOOL CWnd::RedrawWindow(const CRect* rect, const void*, UINT flags) {
    if (!m_hWnd) return FALSE;
    if (flags & RDW_INVALIDATE) InvalidateRect(rect, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_UPDATENOW) UpdateWindow();
    return TRUE;
}

CWnd* CWnd::SetFocus() {
    if (m_hWnd) AfxRuntime::Get().Ui().SetFocus(m_hWnd);
    return nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void* unused) { return ::SetTimer(m_hWnd, id, elapse, unused); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    const std::wstring title = caption ? caption : AfxGetAppName();
    AfxRuntime& runtime = AfxRuntime::Get();
    const HWND owner = m_hWnd;
    runtime.BeginModalBox(owner);
    const int answer = runtime.Ui().MessageBox(owner, text ? text : L"", title, type);
    if (AfxRuntime::IsRunning()) runtime.EndModalBox(owner);
    return answer;
}
