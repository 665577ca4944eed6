// Drawing objects and drawing contexts over the platform's surfaces.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "framework/Afx.h"
#include "platform/Surface.h"

// A bitmap handle: an entry in the runtime's table, so deleting twice or using a deleted
// handle is harmless.
struct HBITMAP {
    uint32_t value = 0;
    explicit constexpr operator bool() const { return value != 0; }
    friend bool operator==(const HBITMAP&, const HBITMAP&) = default;
};
using HICON = HBITMAP;

[[nodiscard]] HBITMAP CreateBitmapHandle(platform::Bitmap bitmap);
platform::Bitmap* BitmapFromHandle(HBITMAP handle);
BOOL DeleteObject(HBITMAP handle);

class CBrush;
using HBRUSH = const CBrush*;

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { m_color = color; m_created = true; return TRUE; }
    BOOL DeleteObject() { m_created = false; return TRUE; }
    COLORREF GetColor() const { return m_color; }
    bool IsCreated() const { return m_created; }
    operator HBRUSH() const { return m_created ? this : nullptr; }

private:
    COLORREF m_color = 0;
    bool m_created = false;
};

class CFont {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCTSTR faceName);
    BOOL CreatePointFont(int pointSize10, LPCTSTR faceName);
    BOOL DeleteObject() { m_created = false; return TRUE; }
    bool IsCreated() const { return m_created; }
    const platform::FontDesc& Desc() const { return m_desc; }

private:
    platform::FontDesc m_desc;
    bool m_created = false;
};

// Wraps a bitmap handle; owns it unless detached (like the classic bitmap object).
class CBitmap {
public:
    CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    ~CBitmap() { DeleteObject(); }

    BOOL Attach(HBITMAP handle);
    HBITMAP Detach();
    BOOL DeleteObject();
    HBITMAP GetSafeHandle() const { return m_handle; }
    platform::Bitmap* Get() const { return BitmapFromHandle(m_handle); }
    BOOL CreateBitmap(int width, int height);

private:
    HBITMAP m_handle;
};

// A drawing context. A paint or client context draws on a window's surface; a memory context
// draws on the bitmap selected into it.
class CDC {
public:
    CDC() = default;
    explicit CDC(platform::Surface* surface) : m_surface(surface) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    BOOL CreateCompatibleDC(CDC* reference);
    BOOL DeleteDC();
    bool IsValid() const { return m_surface != nullptr; }
    platform::Surface* Surface() const { return m_surface; }

    CBitmap* SelectObject(CBitmap* bitmap);
    CFont* SelectObject(CFont* font);

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }

    void FillSolidRect(const CRect& rect, COLORREF color);
    void FillRect(const CRect& rect, const CBrush* brush);
    void FrameRect(const CRect& rect, const CBrush* brush);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    int DrawText(std::wstring_view text, CRect* rect, UINT format);
    BOOL TextOut(int x, int y, std::wstring_view text);
    CSize GetTextExtent(std::wstring_view text);
    BOOL DrawIcon(int x, int y, HICON icon);

protected:
    platform::Surface* m_surface = nullptr;

private:
    platform::TextStyle TextStyleFor(UINT format) const;

    std::unique_ptr<platform::Surface> m_memorySurface;  // memory contexts only
    std::unique_ptr<CBitmap> m_defaultBitmap;           // what a fresh memory context holds
    CBitmap* m_selectedBitmap = nullptr;
    CFont* m_selectedFont = nullptr;
    platform::FontDesc m_font;

    friend class CPaintDC;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
};

class CWnd;

// The context of a window being painted; valid only while its paint message is handled.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
};
