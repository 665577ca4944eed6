// asfmux's ASF data packets, made readable by every demuxer. A packet the muxer cannot fill
// (the last one of each file) carries its payload length in "packet length" and the rest in
// "padding"; readers take the packet length as the whole packet, padding included, and ffmpeg
// refuses the packet ("invalid padsize") and loses the frames in it.
#pragma once

#include <gst/gst.h>

#include <cstddef>
#include <cstdint>

namespace platform::gst {

// When the bytes are such a packet of the file's packet size, its packet length is set to
// count the padding too, and true is returned; anything else is left as it is.
[[nodiscard]] bool CountPaddingInPacketLength(uint8_t* packet, size_t size, size_t packetSize);

// Mends every packet the muxer pushes, on its src pad, before the file sink sees it.
void MendPacketLengths(GstElement* asfmux);

}  // namespace platform::gst
