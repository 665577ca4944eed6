// The picture button: one of four frames of a picture strip (pressed, normal, pointer over,
// disabled), chosen at each paint, with a tooltip its owner sets.
#pragma once

#include <string>

#include "framework/BitmapButton.h"
#include "framework/Gdi.h"
#include "framework/ToolTipCtrl.h"

class CFourStateButton : public CBitmapButton {
public:
    CFourStateButton() = default;
    ~CFourStateButton() override;

    // Replaces the picture strip and sizes the button to one frame. A file that cannot be read
    // as a picture of at least four columns changes nothing: the button keeps its picture
    // (or none) and its size.
    void LoadStrip(std::wstring path);
    // Null is ignored.
    void SetToolTipText(const wchar_t* text);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT record) override;

    // Members, in declaration order.
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    HBITMAP m_hStrip;        // owned
    CBitmap m_bmpStrip;      // wraps m_hStrip for drawing; never deletes it
    CToolTipCtrl m_ToolTip;

protected:
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseHover(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void AttachStrip();
    void CreateToolTip();
};
