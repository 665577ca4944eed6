// The application icon (resource 128): a camera on a blue tile, drawn rather than shipped.
#pragma once

#include "platform/Bitmap.h"

inline constexpr int kAppIconSize = 32;

platform::Bitmap DrawAppIcon();
