// The "sync" pattern of the test devices: marks at each whole second of running time that a
// recording must keep together. A camera shows a white frame at each whole second and black
// otherwise; a microphone sounds a short tone from each whole second on and is silent otherwise.
#pragma once

#include <gst/gst.h>

#include "TestDeviceEntry.h"

namespace vistrel::testdevices {

inline constexpr char kSyncPattern[] = "sync";
inline constexpr double kSyncToneHz = 1000.0;
inline constexpr GstClockTime kSyncToneLength = 50 * GST_MSECOND;

// Fills every buffer the live test source (videotestsrc or audiotestsrc) makes by its running
// time. The video frame that shows a second is the one whose time is nearest to it.
void AttachSyncPattern(GstElement* source, TestDeviceKind kind);

}  // namespace vistrel::testdevices
