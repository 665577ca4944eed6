#include "framework/Gdi.h"

#include "framework/Runtime.h"
#include "framework/Wnd.h"

HBITMAP CreateBitmapHandle(platform::Bitmap bitmap) { return AfxRuntime::Get().Bitmaps().Add(std::move(bitmap)); }
platform::Bitmap* BitmapFromHandle(HBITMAP handle) { return AfxRuntime::Get().Bitmaps().Find(handle); }
BOOL DeleteObject(HBITMAP handle) { return AfxRuntime::Get().Bitmaps().Remove(handle) ? TRUE : FALSE; }

BOOL CFont::CreateFont(int height, int width, int, int, int weight, BYTE italic, BYTE, BYTE, BYTE charSet, BYTE,
                       BYTE, BYTE, BYTE pitchAndFamily, LPCTSTR faceName) {
    m_desc = {faceName ? faceName : L"", height, width, weight, italic != 0, charSet, pitchAndFamily};
    m_created = true;
    return TRUE;
}

BOOL CFont::CreatePointFont(int pointSize10, LPCTSTR faceName) {
    m_desc = {};
    m_desc.face = faceName ? faceName : L"";
    m_desc.height = -MulDiv(pointSize10, 96, 720);
    m_created = true;
    return TRUE;
}

BOOL CBitmap::Attach(HBITMAP handle) {
    if (m_handle || !BitmapFromHandle(handle)) return FALSE;
    m_handle = handle;
    return TRUE;
}

HBITMAP CBitmap::Detach() { return std::exchange(m_handle, HBITMAP{}); }

BOOL CBitmap::DeleteObject() {
    if (!m_handle) return FALSE;
    // The runtime may already be gone when a static object dies at exit.
    if (AfxRuntime::IsRunning()) ::DeleteObject(m_handle);
    m_handle = {};
    return TRUE;
}

BOOL CBitmap::CreateBitmap(int width, int height) {
    DeleteObject();
    m_handle = CreateBitmapHandle(platform::Bitmap(width, height));
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC*) {
    // A fresh memory context holds a 1 x 1 bitmap until another is selected, as the classic one does.
    m_defaultBitmap = std::make_unique<CBitmap>();
    m_defaultBitmap->CreateBitmap(1, 1);
    m_selectedBitmap = nullptr;
    SelectObject(m_defaultBitmap.get());
    return TRUE;
}

BOOL CDC::DeleteDC() {
    m_memorySurface.reset();
    m_surface = nullptr;
    m_selectedBitmap = nullptr;
    m_defaultBitmap.reset();
    return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!m_defaultBitmap || !bitmap || !bitmap->Get()) return nullptr;  // only memory contexts take bitmaps
    CBitmap* previous = m_selectedBitmap;
    m_selectedBitmap = bitmap;
    m_memorySurface = std::make_unique<platform::Surface>(*bitmap->Get(), AfxRuntime::Get().Ui().TextRenderer());
    m_surface = m_memorySurface.get();
    return previous ? previous : m_defaultBitmap.get();
}

CFont* CDC::SelectObject(CFont* font) {
    CFont* previous = m_selectedFont;
    if (font && font->IsCreated()) {
        m_selectedFont = font;
        m_font = font->Desc();
    }
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(m_textColor, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_bkColor, color); }
int CDC::SetBkMode(int mode) { return std::exchange(m_bkMode, mode); }

void CDC::FillSolidRect(const CRect& rect, COLORREF color) {
    if (m_surface) m_surface->FillRect(rect, ToColor(color));
}

void CDC::FillRect(const CRect& rect, const CBrush* brush) {
    if (brush && brush->IsCreated()) FillSolidRect(rect, brush->GetColor());
}

void CDC::FrameRect(const CRect& rect, const CBrush* brush) {
    if (m_surface && brush && brush->IsCreated()) m_surface->FrameRect(rect, ToColor(brush->GetColor()));
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD) {
    if (!m_surface || !source || !source->m_surface) return FALSE;
    m_surface->DrawBitmap(x, y, source->m_surface->Target(), CRect::FromXYWH(xSrc, ySrc, width, height));
    return TRUE;
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD) {
    if (!m_surface || !source || !source->m_surface) return FALSE;
    m_surface->StretchBitmap(CRect::FromXYWH(x, y, width, height), source->m_surface->Target(),
                             CRect::FromXYWH(xSrc, ySrc, srcWidth, srcHeight));
    return TRUE;
}

platform::TextStyle CDC::TextStyleFor(UINT format) const {
    platform::TextStyle style;
    style.font = m_font;
    style.color = ToColor(m_textColor);
    style.opaque = m_bkMode == OPAQUE;
    style.background = ToColor(m_bkColor);
    style.format = format;  // the DT_ bits and the platform's text format bits are the same
    return style;
}

int CDC::DrawText(std::wstring_view text, CRect* rect, UINT format) {
    if (!m_surface || !rect) return 0;
    m_surface->DrawText(text, *rect, TextStyleFor(format));
    return m_surface->MeasureText(text, m_font).cy;
}

BOOL CDC::TextOut(int x, int y, std::wstring_view text) {
    if (!m_surface) return FALSE;
    CSize extent = m_surface->MeasureText(text, m_font);
    m_surface->DrawText(text, CRect::FromXYWH(x, y, extent.cx, extent.cy), TextStyleFor(DT_LEFT | DT_SINGLELINE));
    return TRUE;
}

CSize CDC::GetTextExtent(std::wstring_view text) { return m_surface ? m_surface->MeasureText(text, m_font) : CSize{}; }

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    platform::Bitmap* bitmap = BitmapFromHandle(icon);
    if (!m_surface || !bitmap) return FALSE;
    m_surface->DrawBitmap(x, y, *bitmap, bitmap->Bounds());
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* wnd) {
    m_surface = wnd ? AfxRuntime::Get().PaintSurface(wnd->GetSafeHwnd()) : nullptr;
    if (wnd) m_font = wnd->GetFontDesc();
}
