// The picture strips of the program's buttons: four frames of 29 x 32 side by side (pressed,
// normal, pointer over, disabled), each glyph drawn the same way in every frame.
#pragma once

#include <span>
#include <string_view>

#include "platform/Bitmap.h"

inline constexpr int kFrameWidth = 29;
inline constexpr int kFrameHeight = 32;
inline constexpr platform::Color kStripGrey{180, 180, 180};

enum class Glyph { Open, Snap, RecordOn, RecordOff, Help, PreviewOn, PreviewOff };

struct ButtonPicture {
    std::string_view file;
    Glyph glyph;
};

std::span<const ButtonPicture> ButtonPictures();
platform::Bitmap DrawStrip(Glyph glyph);
