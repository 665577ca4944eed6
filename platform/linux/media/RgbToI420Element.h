// A GStreamer element of the program's own that turns four-byte RGB pictures into I420 with
// the fixed-point conversion, several times cheaper than videoconvert; every other format passes
// through untouched, for a videoconvert after it.
#pragma once

namespace platform::gst {

inline constexpr const char* kRgbToI420Factory = "vistrelrgbtoi420";

// Registers the element inside this process (once); false when GStreamer refused it.
bool RegisterRgbToI420();

}  // namespace platform::gst
