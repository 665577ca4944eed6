// Time of a frame's colour conversion for the recording: the writer's own BGRx to I420 against
// GStreamer's converter (what videoconvert runs, one thread as it defaults to) on the same
// frame, and the converter's YUY2 to I420, which a camera's pictures need without the effect
// filter. Prints the median of each and the ratios.
#include <gst/gst.h>
#include <gst/video/video.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "RgbToI420.h"

namespace {

struct Frames {
    GstVideoInfo in, out;
    GstBuffer* inBuffer;
    GstBuffer* outBuffer;
    GstVideoFrame inFrame, outFrame;

    Frames(GstVideoFormat format, int width, int height) {
        gst_video_info_set_format(&in, format, guint(width), guint(height));
        gst_video_info_set_format(&out, GST_VIDEO_FORMAT_I420, guint(width), guint(height));
        inBuffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&in), nullptr);
        outBuffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&out), nullptr);
        GstMapInfo map;
        gst_buffer_map(inBuffer, &map, GST_MAP_WRITE);
        for (gsize i = 0; i < map.size; ++i) map.data[i] = guint8(i * 7 + i / 4096);
        gst_buffer_unmap(inBuffer, &map);
        gst_video_frame_map(&inFrame, &in, inBuffer, GST_MAP_READ);
        gst_video_frame_map(&outFrame, &out, outBuffer, GST_MAP_WRITE);
    }
    ~Frames() {
        gst_video_frame_unmap(&inFrame);
        gst_video_frame_unmap(&outFrame);
        gst_buffer_unref(inBuffer);
        gst_buffer_unref(outBuffer);
    }
};

double MedianMs(int runs, const std::function<void()>& convert) {
    std::vector<double> ms;
    for (int i = 0; i < runs + 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        convert();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i >= 5) ms.push_back(took.count());  // the first runs warm the caches
    }
    std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
    return ms[ms.size() / 2];
}

double ConverterMs(GstVideoFormat format, int width, int height, int runs) {
    Frames f(format, width, height);
    GstVideoConverter* converter = gst_video_converter_new(&f.in, &f.out, nullptr);
    const double ms = MedianMs(runs, [&] { gst_video_converter_frame(converter, &f.inFrame, &f.outFrame); });
    gst_video_converter_free(converter);
    return ms;
}

double OursMs(int width, int height, int runs) {
    Frames f(GST_VIDEO_FORMAT_BGRx, width, height);
    gdouble kr = 0, kb = 0;
    gst_video_color_matrix_get_Kr_Kb(f.out.colorimetry.matrix, &kr, &kb);
    gint offset[GST_VIDEO_MAX_COMPONENTS] = {};
    gint scale[GST_VIDEO_MAX_COMPONENTS] = {};
    gst_video_color_range_offsets(f.out.colorimetry.range, f.out.finfo, offset, scale);
    const auto weights = platform::gst::MakeYuvWeights({kr, kb, offset[0], scale[0], offset[1], scale[1]}, 2, 1, 0);
    auto plane = [&](int i) { return static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&f.outFrame, i)); };
    auto stride = [&](int i) { return GST_VIDEO_FRAME_PLANE_STRIDE(&f.outFrame, i); };
    const platform::gst::RgbPicture in{static_cast<const guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&f.inFrame, 0)),
                                       GST_VIDEO_FRAME_PLANE_STRIDE(&f.inFrame, 0), width, height};
    const platform::gst::I420Picture out{plane(0), stride(0), plane(1), stride(1), plane(2), stride(2)};
    return MedianMs(runs, [&] { platform::gst::ConvertRgbToI420(in, out, weights); });
}

}  // namespace

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    std::printf("%-10s %12s %16s %16s %10s %10s\n", "size", "ours ms", "BGRx conv. ms", "YUY2 conv. ms",
                "BGRx/ours", "YUY2/ours");
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1280, 1024}, std::pair{352, 288}}) {
        const double ours = OursMs(width, height, runs);
        const double bgrx = ConverterMs(GST_VIDEO_FORMAT_BGRx, width, height, runs);
        const double yuy2 = ConverterMs(GST_VIDEO_FORMAT_YUY2, width, height, runs);
        std::printf("%4dx%-5d %12.3f %16.3f %16.3f %10.1f %10.1f\n", width, height, ours, bgrx, yuy2, bgrx / ours,
                    yuy2 / ours);
    }
    return 0;
}
