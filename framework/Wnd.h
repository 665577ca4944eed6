// The window object: a handle, its message map and the operations on the window.
#pragma once

#include <string>

#include "framework/Afx.h"
#include "framework/DialogTemplate.h"
#include "framework/Gdi.h"
#include "framework/MessageMap.h"
#include "platform/UiHost.h"

class CDataExchange;
class CFont;

struct DRAWITEMSTRUCT {
    UINT CtlType = ODT_BUTTON;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    HWND hwndItem;
    CDC* hDC = nullptr;
    CRect rcItem;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = SW_SHOWNORMAL;
    CPoint ptMinPosition;
    CPoint ptMaxPosition;
    CRect rcNormalPosition;
};

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hwnd);
    BOOL IsWindow() const;

    // Creation: a window of the given class over a new native window. The framework's own
    // dialogs create their windows from templates.
    BOOL CreateNativeWindow(const platform::CreateParams& params, WindowClass windowClass, DWORD style);
    // Takes over the dialog control with this id (data exchange binds members this way).
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    virtual BOOL DestroyWindow();

    // Messages.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange*) {}
    // Owner-drawn children draw themselves when their parent passes the record on.
    virtual BOOL OnChildDrawItem(LPDRAWITEMSTRUCT) { return FALSE; }
    static const MessageMap* ThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return ThisMessageMap(); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Relatives.
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return m_nID; }
    // Children by id: check boxes and texts.
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void SetDlgItemText(int id, LPCTSTR text);
    std::wstring GetDlgItemText(int id) const;
    bool IsTopLevel() const { return m_bTopLevel; }
    WindowClass GetWindowClass() const { return m_windowClass; }

    // Text and looks.
    void SetWindowText(LPCTSTR text);
    void GetWindowText(std::wstring& text) const { text = GetWindowText(); }
    std::wstring GetWindowText() const;
    int GetWindowTextLength() const { return static_cast<int>(GetWindowText().size()); }
    void SetFont(CFont* font, BOOL redraw = TRUE);
    const platform::FontDesc& GetFontDesc() const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const { return bigIcon ? m_hIconBig : m_hIconSmall; }

    // State and geometry.
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    DWORD GetStyle() const { return m_dwStyle; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const CRect& rect, BOOL repaint = TRUE) { MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint); }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(LPRECT rect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    void UpdateWindow() {}
    // Only the invalidation and erase flags mean anything: the platform paints when it is next asked.
    BOOL RedrawWindow(const CRect* rect = nullptr, const void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CWnd* SetFocus();

    // Timers and boxes.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);
    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

protected:
    // The current message's default handling, for handlers that add to it.
    LRESULT Default();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Handlers with a default behaviour, called by derived classes' handlers.
    void OnPaint() { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMoving(UINT, LPRECT) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnDestroy() { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }

    // Notifies the parent with WM_COMMAND (control id, code).
    void NotifyParent(UINT code);
    // The brush a control's parent gives for painting it (nullptr: the default colours).
    HBRUSH AskParentForColors(CDC& dc, UINT message);
    CRect ClientOrigin() const;  // screen position of the client area's top-left corner

    UINT m_nID = 0;
    HWND m_hWndParent;
    HWND m_hWndOwner;
    WindowClass m_windowClass = WindowClass::Frame;
    DWORD m_dwStyle = 0;
    bool m_bTopLevel = false;
    bool m_bHasCaption = false;
    bool m_bVisible = false;
    bool m_bEnabled = true;
    bool m_bPushed = false;  // owner-drawn buttons between press and release
    std::wstring m_strText;  // canvases and top-level windows keep their own text
    platform::FontDesc m_font;
    HICON m_hIconBig;
    HICON m_hIconSmall;

private:
    friend class AfxRuntime;
    friend class CDialog;
    void PaintDefault();
    void PaintStatic(CDC& dc);
    void PaintGroupBox(CDC& dc);
    void PaintOwnerDrawButton(CDC& dc);
    LRESULT ButtonMouse(UINT message, LPARAM lParam);
    void Detach();

    const MSG* m_pCurrentMsg = nullptr;
};

inline constexpr COLORREF kFaceColor = RGB(240, 240, 240);
