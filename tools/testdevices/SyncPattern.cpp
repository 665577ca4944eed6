#include "SyncPattern.h"

#include <gst/audio/audio.h>
#include <gst/video/video.h>

#include <cmath>
#include <vector>

#include "GRefPtr.h"

namespace vistrel::testdevices {
namespace {

// The segment of the source's output, to read running time off the stamps.
struct SyncState {
    TestDeviceKind kind = TestDeviceKind::Camera;
    GstSegment segment;
};

GstClockTime RunningTime(const SyncState& state, GstClockTime stamp) {
    return gst_segment_to_running_time(&state.segment, GST_FORMAT_TIME, stamp);
}

// One row of pixels, all white or all black, in the format's 8-bit unpacked layout (AYUV or
// ARGB), packed into every row of the frame.
void FillFrame(GstVideoFrame& frame, bool white) {
    const GstVideoFormatInfo* format = frame.info.finfo;
    const int width = GST_VIDEO_INFO_WIDTH(&frame.info);
    std::vector<uint8_t> row(size_t(width) * 4);
    const bool yuv = GST_VIDEO_FORMAT_INFO_IS_YUV(format);
    const uint8_t pixel[4] = {255, uint8_t(yuv ? (white ? 235 : 16) : (white ? 255 : 0)),
                              uint8_t(yuv ? 128 : (white ? 255 : 0)), uint8_t(yuv ? 128 : (white ? 255 : 0))};
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c) row[size_t(x) * 4 + size_t(c)] = pixel[c];
    for (int y = 0; y < GST_VIDEO_INFO_HEIGHT(&frame.info); ++y)
        format->pack_func(format, GST_VIDEO_PACK_FLAG_NONE, row.data(), 0, frame.data, frame.info.stride,
                          GST_VIDEO_CHROMA_SITE_UNKNOWN, y, width);
}

void MarkFrame(const SyncState& state, GstPad* pad, GstBuffer* buffer) {
    auto caps = AdoptGRef(gst_pad_get_current_caps(pad));
    GstVideoInfo info;
    if (!caps || !gst_video_info_from_caps(&info, caps.get())) return;
    const GstVideoFormat unpacked = info.finfo->unpack_format;
    if (unpacked != GST_VIDEO_FORMAT_AYUV && unpacked != GST_VIDEO_FORMAT_ARGB) return;  // 8-bit formats only
    GstClockTime frameLength = GST_BUFFER_DURATION_IS_VALID(buffer)
                                   ? GST_BUFFER_DURATION(buffer)
                                   : gst_util_uint64_scale(GST_SECOND, info.fps_d, std::max(info.fps_n, 1));
    GstClockTime time = RunningTime(state, GST_BUFFER_PTS(buffer));
    if (!GST_CLOCK_TIME_IS_VALID(time)) return;
    // The frame whose time is within half a frame of a whole second shows it.
    const bool white = (time + frameLength / 2) % GST_SECOND < frameLength;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_WRITE)) return;
    FillFrame(frame, white);
    gst_video_frame_unmap(&frame);
}

template <typename Sample>
void FillSound(Sample* samples, const GstAudioInfo& info, GstClockTime start, int frames, double fullScale) {
    for (int i = 0; i < frames; ++i) {
        GstClockTime time = start + gst_util_uint64_scale(GstClockTime(i), GST_SECOND, GstClockTime(info.rate));
        GstClockTime intoSecond = time % GST_SECOND;
        double value = 0;
        if (intoSecond < kSyncToneLength)
            value = 0.5 * std::sin(2 * G_PI * kSyncToneHz * double(intoSecond) / double(GST_SECOND));
        for (int c = 0; c < info.channels; ++c) samples[size_t(i) * size_t(info.channels) + size_t(c)] = Sample(value * fullScale);
    }
}

void MarkSound(const SyncState& state, GstPad* pad, GstBuffer* buffer) {
    auto caps = AdoptGRef(gst_pad_get_current_caps(pad));
    GstAudioInfo info;
    if (!caps || !gst_audio_info_from_caps(&info, caps.get()) || info.layout != GST_AUDIO_LAYOUT_INTERLEAVED) return;
    GstClockTime start = RunningTime(state, GST_BUFFER_PTS(buffer));
    if (!GST_CLOCK_TIME_IS_VALID(start)) return;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) return;
    const int frames = int(map.size / size_t(GST_AUDIO_INFO_BPF(&info)));
    if (GST_AUDIO_INFO_FORMAT(&info) == GST_AUDIO_FORMAT_S16)
        FillSound(reinterpret_cast<gint16*>(map.data), info, start, frames, 32767.0);
    else if (GST_AUDIO_INFO_FORMAT(&info) == GST_AUDIO_FORMAT_F32)
        FillSound(reinterpret_cast<float*>(map.data), info, start, frames, 1.0);
    gst_buffer_unmap(buffer, &map);
}

GstPadProbeReturn OnSourceData(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    auto* state = static_cast<SyncState*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) gst_event_copy_segment(event, &state->segment);
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    if (state->kind == TestDeviceKind::Camera)
        MarkFrame(*state, pad, buffer);
    else
        MarkSound(*state, pad, buffer);
    return GST_PAD_PROBE_OK;
}

}  // namespace

void AttachSyncPattern(GstElement* source, TestDeviceKind kind) {
    if (kind == TestDeviceKind::Camera)
        gst_util_set_object_arg(G_OBJECT(source), "pattern", "black");
    else
        gst_util_set_object_arg(G_OBJECT(source), "wave", "silence");
    auto* state = new SyncState{kind, {}};
    gst_segment_init(&state->segment, GST_FORMAT_TIME);
    auto src = AdoptGRef(gst_element_get_static_pad(source, "src"));
    gst_pad_add_probe(src.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                      &OnSourceData, state, [](gpointer data) { delete static_cast<SyncState*>(data); });
}

}  // namespace vistrel::testdevices
