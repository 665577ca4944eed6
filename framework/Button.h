// Buttons: native push, check and radio buttons, and owner-drawn buttons that paint themselves.
#pragma once

#include "framework/Wnd.h"

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }

    // Owner-drawn buttons: paint the item described by the record. Without a drawing of its
    // own, a button still shows where it is: a plain face, darker while pressed.
    virtual void DrawItem(LPDRAWITEMSTRUCT record);
    BOOL OnChildDrawItem(LPDRAWITEMSTRUCT record) override {
        DrawItem(record);
        return TRUE;
    }
};
