// Reading a camera's resolution capability code from the main window's list.
#pragma once

#include <string>
#include <vector>

// The codes a camera's entry can hold; an entry of kCapsNone says the camera has none of them.
inline constexpr int kCapsNone = 0;
inline constexpr int kCapsSmall = 1;   // 352 x 288
inline constexpr int kCapsMedium = 2;  // 640 x 480
inline constexpr int kCapsLarge = 4;   // 1280 x 1024
inline constexpr int kCapsNtsc = 8;    // 720 x 480, only when none of the three

// The code of the camera at `index`; kCapsNone for a camera the list holds no entry for (an
// index outside it) as for one whose entry says it has no code.
int CapabilityCode(const std::vector<std::wstring>& caps, int index);

// The number of resolution modes a code offers: its bits among the first three sizes.
int ModeCount(int code);
