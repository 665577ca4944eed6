// Still capture: the snapshot's numbered JPEG files and the process-wide state they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The number in the last still file name chosen; only ever counts up while the process runs.
extern int32_t g_nStillNumber;
// Set by the first accepted snapshot on a system newer than the oldest supported one: from then
// on the snapshot button disables the main window until the file is written.
extern int g_bDisableDuringSnapshot;

inline constexpr int kJpegQuality = 75;
// How long a request may wait for a frame before it is dropped and the window enabled again.
inline constexpr unsigned kSnapshotWaitMs = 2000;

// "%sStillCap%4.4ld.jpg": the folder (ending in a separator) and the number, at least 4 digits.
std::wstring StillFileName(const std::wstring& folder, long number);
// Whether a file or a folder of exactly that name exists: a numbered name is never taken twice.
bool NameTaken(const std::wstring& path);
// Encodes a bottom-up BGR frame of that size into `out`; the JPEG's size, 0 when it failed or
// would not fit.
size_t EncodeJpeg(long width, long height, std::span<const uint8_t> frame, std::span<uint8_t> out);
// Plays "click.wav" from the program folder without waiting.
void PlayShutterSound();
