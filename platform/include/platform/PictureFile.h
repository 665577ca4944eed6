// Picture files the program reads (the button strips): Windows bitmap files with 24 or 32 bits
// per pixel. Nothing in a file is trusted: every size it declares is checked against the bytes
// really there before anything is allocated, so a truncated, empty, foreign or lying file fails
// cleanly and costs no more memory than its own size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace platform {

// Far above any strip (a few kilobytes), far below what could hurt.
inline constexpr size_t kMaxPictureFileBytes = size_t{16} << 20;
inline constexpr int kMaxPictureSide = 16384;

// The picture in a bitmap file's bytes; nothing when they are not one this decoder takes.
// Pixels with an alpha channel come out over black, as the classic conversion to a
// device-dependent bitmap with a transparent black background gives them.
std::optional<Bitmap> DecodePicture(std::span<const uint8_t> bytes);

// Reads at most kMaxPictureFileBytes of the file and decodes them; nothing when the file is
// missing, unreadable, larger or not a picture.
std::optional<Bitmap> LoadPictureFile(const std::wstring& path);

// A 24-bit bottom-up bitmap file of the picture, as the build's picture tool writes the strips.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);

}  // namespace platform
