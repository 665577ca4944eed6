// Translation between GStreamer caps and the media types pins describe themselves with.
#pragma once

#include <gst/gst.h>

#include <vector>

#include "platform/media/MediaTypes.h"
#include "platform/media/WmProfileObjects.h"  // the wave-format header of audio format blocks

namespace platform::gst {

// One media type per structure of the caps. Raw video and JPEG become MEDIATYPE_Video with a
// video-info header (fields that are ranges stay 0); raw audio becomes MEDIATYPE_Audio with a
// wave-format block; anything else keeps a null major type.
std::vector<AM_MEDIA_TYPE> CapsToMediaTypes(const GstCaps* caps);
AM_MEDIA_TYPE StructureToMediaType(const GstStructure* structure);

// The caps a media type stands for: its major type and subtype always, and the frame size and
// rate when the format block gives them. nullptr for a type GStreamer has no caps for.
GstCaps* MediaTypeToCaps(const AM_MEDIA_TYPE& type);

// The GStreamer raw video format name of a video subtype ("BGR" for RGB24), or nullptr.
const char* VideoFormatOfSubtype(const GUID& subtype);

}  // namespace platform::gst
