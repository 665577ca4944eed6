// An owner-drawn button showing one of up to four bitmaps: normal, pressed, focused, disabled.
#pragma once

#include "framework/Button.h"
#include "framework/Gdi.h"

class CBitmapButton : public CButton {
public:
    // Takes ownership of the handles; any of the last three may be empty.
    BOOL LoadBitmaps(HBITMAP normal, HBITMAP selected = {}, HBITMAP focus = {}, HBITMAP disabled = {});
    // Resizes the button to its normal bitmap.
    void SizeToContent();
    void DrawItem(LPDRAWITEMSTRUCT record) override;

protected:
    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
