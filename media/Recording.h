// Recording: the numbered video files, the click filter of the record buttons and the clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The number in the last video file name chosen; never reset while the process runs.
extern int32_t g_nVideoNumber;

// Set while a start or stop sent by the record buttons is carried out: device and power events
// leave the graph alone meanwhile.
extern bool g_bGraphBusy;

// The click filter's flags of the start button (1003) and the stop button (1005): a click is
// waiting out the double-click time; a further click came during the wait.
extern bool g_bStartClickWaiting;
extern bool g_bStartSecondClick;
extern bool g_bStopClickWaiting;
extern bool g_bStopSecondClick;

// Characters a video file's path may take, the terminator included.
inline constexpr size_t kMaxVideoPath = 260;
// Free space a recording needs to start and to go on: 250 MB.
inline constexpr uint64_t kMinFreeMegabytes = 250;

// "%sVideoCap%04d.asf": the folder (ending in a separator) and the number, at least 4 digits.
std::wstring VideoFileName(const std::wstring& folder, int32_t number);
// Whether the name the next recording in this folder would take fits in a path.
bool VideoFileNameFits(const std::wstring& folder);

struct ElapsedTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
// Milliseconds as the clock shows them, each part truncated.
ElapsedTime SplitElapsed(uint32_t milliseconds);
// "%02d:%02d:%02d"; the hours take as many digits as they need.
std::wstring FormatElapsed(const ElapsedTime& elapsed);
