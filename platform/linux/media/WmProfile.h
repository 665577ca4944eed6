// What the GStreamer ASF writer needs of a profile beyond the shared profile objects: the
// encoder parameters of an audio stream.
#pragma once

#include "platform/media/WmProfileObjects.h"

namespace platform::gst {

// The audio parameters a stream's wave-format block gives.
struct WmAudioFormat {
    int channels = 0;
    int rate = 0;
    int bitrate = 0;
};
WmAudioFormat AudioFormatOf(const WmStream& stream);

}  // namespace platform::gst
