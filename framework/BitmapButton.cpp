#include "framework/BitmapButton.h"

BOOL CBitmapButton::LoadBitmaps(HBITMAP normal, HBITMAP selected, HBITMAP focus, HBITMAP disabled) {
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!m_bitmap.Attach(normal)) return FALSE;
    m_bitmapSel.Attach(selected);
    m_bitmapFocus.Attach(focus);
    m_bitmapDisabled.Attach(disabled);
    return TRUE;
}

void CBitmapButton::SizeToContent() {
    if (const platform::Bitmap* bitmap = m_bitmap.Get())
        SetWindowPos(nullptr, 0, 0, bitmap->Width(), bitmap->Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT record) {
    CBitmap* chosen = &m_bitmap;
    if ((record->itemState & ODS_SELECTED) && m_bitmapSel.Get()) chosen = &m_bitmapSel;
    else if ((record->itemState & ODS_FOCUS) && m_bitmapFocus.Get()) chosen = &m_bitmapFocus;
    else if ((record->itemState & ODS_DISABLED) && m_bitmapDisabled.Get()) chosen = &m_bitmapDisabled;
    if (!chosen->Get()) return;
    CDC memory;
    memory.CreateCompatibleDC(record->hDC);
    CBitmap* previous = memory.SelectObject(chosen);
    const CRect& r = record->rcItem;
    record->hDC->BitBlt(r.left, r.top, r.Width(), r.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}
