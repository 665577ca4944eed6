#include "GreyColours.h"

HBRUSH GreyCtlColor(CDC* dc, UINT nCtlColor, const CBrush& back, HBRUSH fallback) {
    if (nCtlColor == CTLCOLOR_STATIC) {
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SetBkColor(kGreyBackColor);
        return back;
    }
    if (nCtlColor == CTLCOLOR_DLG) {
        dc->SetBkColor(kGreyBackColor);
        return back;
    }
    return fallback;
}
