// The program's grey windows: static texts in black on the grey, and the grey behind everything.
#pragma once

#include "framework/Gdi.h"
#include "framework/MessageMap.h"

inline constexpr COLORREF kGreyBackColor = RGB(180, 180, 180);

// The colour answer of a grey window for a control of kind nCtlColor: `back` (a brush of
// kGreyBackColor) for static texts and the window itself, `fallback` for every other kind.
HBRUSH GreyCtlColor(CDC* dc, UINT nCtlColor, const CBrush& back, HBRUSH fallback);
