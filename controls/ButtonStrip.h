// The places of a row of picture buttons, in the main window and in the control bar alike.
#pragma once

// Places 29 wide, 49 apart and 32 high, centred on 205 pixels: the width of five from the first
// edge to the last (the control bar's sixth reaches past it).
inline constexpr int kStripWidth = 205;
inline constexpr int kButtonStep = 49;
inline constexpr int kButtonWidth = 29;
inline constexpr int kButtonHeight = 32;
