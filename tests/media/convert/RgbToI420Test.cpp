// The recording's own RGB to I420 conversion against videoconvert on the same pictures, and the
// writer's chain of it, videoconvert and videoscale negotiating what each is to do.
#include <gst/check/gstharness.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>

#include "RgbToI420Element.h"

namespace {

using platform::gst::kRgbToI420Factory;

enum class Pattern { Bars, Gradient, Noise };

struct Picture {
    const char* name;
    const char* format;
    int width, height;
    Pattern pattern;
    int padding;              // bytes after each input row
    const char* colorimetry;  // of the output caps; nullptr leaves it to the size
};

void PrintTo(const Picture& p, std::ostream* out) { *out << p.name; }

struct Rgb {
    int r, g, b;
};

Rgb ColourAt(const Picture& p, int x, int y, std::minstd_rand& noise) {
    switch (p.pattern) {
    case Pattern::Bars: {
        // White, yellow, cyan, green, magenta, red, blue, black at 75 %, as a camera's test card.
        const int bar = x * 8 / p.width;
        const int on = 191;
        return {(bar & 2) ? 0 : on, (bar & 4) ? 0 : on, (bar & 1) ? 0 : on};
    }
    case Pattern::Gradient:
        return {x * 255 / std::max(1, p.width - 1), y * 255 / std::max(1, p.height - 1),
                255 - (x + y) * 255 / std::max(1, p.width + p.height - 2)};
    case Pattern::Noise: return {int(noise() % 256), int(noise() % 256), int(noise() % 256)};
    }
    return {};
}

GstBuffer* MakeInput(const Picture& p) {
    GstVideoInfo info;
    gst_video_info_set_format(&info, gst_video_format_from_string(p.format), guint(p.width), guint(p.height));
    const GstVideoFormatInfo* f = info.finfo;
    const int stride = p.width * 4 + p.padding;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, gsize(stride) * gsize(p.height), nullptr);
    gsize offset[GST_VIDEO_MAX_PLANES] = {};
    gint strides[GST_VIDEO_MAX_PLANES] = {stride};
    gst_buffer_add_video_meta_full(buffer, GST_VIDEO_FRAME_FLAG_NONE, GST_VIDEO_INFO_FORMAT(&info), guint(p.width),
                                   guint(p.height), 1, offset, strides);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    std::fill(map.data, map.data + map.size, 0x55);  // the padding, which nothing may read
    std::minstd_rand noise(7);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            guint8* pixel = map.data + y * stride + x * 4;
            const Rgb c = ColourAt(p, x, y, noise);
            std::fill(pixel, pixel + 4, 255);  // alpha, or the unused byte
            pixel[GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_R)] = guint8(c.r);
            pixel[GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_G)] = guint8(c.g);
            pixel[GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_B)] = guint8(c.b);
        }
    }
    gst_buffer_unmap(buffer, &map);
    return buffer;
}

std::string Caps(const char* format, int width, int height, const char* colorimetry = nullptr) {
    std::string caps = std::string("video/x-raw,format=") + format + ",width=" + std::to_string(width) +
                       ",height=" + std::to_string(height) + ",framerate=30/1,pixel-aspect-ratio=1/1";
    if (colorimetry) caps += std::string(",colorimetry=") + colorimetry;
    return caps;
}

// What the elements give for one input buffer, or nullptr; the harness keeps the caps they
// settled on in *outCaps.
GstBuffer* RunElements(const char* description, const std::string& in, const std::string& out, GstBuffer* input,
               GstCaps** outCaps = nullptr) {
    GstHarness* h = gst_harness_new_parse(description);
    gst_harness_set_caps_str(h, in.c_str(), out.c_str());
    GstBuffer* result = gst_harness_push_and_pull(h, gst_buffer_ref(input));
    if (outCaps) {
        GstElement* ours = gst_harness_find_element(h, kRgbToI420Factory);
        GstPad* src = ours ? gst_element_get_static_pad(ours, "src") : nullptr;
        *outCaps = src ? gst_pad_get_current_caps(src) : nullptr;
        if (src) gst_object_unref(src);
        if (ours) gst_object_unref(ours);
    }
    gst_harness_teardown(h);
    return result;
}

class WithElement : public testing::Test {
protected:
    static void SetUpTestSuite() {
        gst_init(nullptr, nullptr);
        ASSERT_TRUE(platform::gst::RegisterRgbToI420());
    }
};

class RgbToI420 : public WithElement, public testing::WithParamInterface<Picture> {};

TEST_P(RgbToI420, EverySampleIsWithinTwoLevelsOfVideoconvert) {
    const Picture& p = GetParam();
    GstBuffer* input = MakeInput(p);
    const std::string in = Caps(p.format, p.width, p.height);
    const std::string out = Caps("I420", p.width, p.height, p.colorimetry);
    GstBuffer* ours = RunElements(kRgbToI420Factory, in, out, input);
    GstBuffer* theirs = RunElements("videoconvert", in, out, input);
    gst_buffer_unref(input);
    ASSERT_TRUE(ours && theirs);

    GstVideoInfo info;
    GstCaps* caps = gst_caps_from_string(out.c_str());
    ASSERT_TRUE(gst_video_info_from_caps(&info, caps));
    gst_caps_unref(caps);
    GstVideoFrame a, b;
    ASSERT_TRUE(gst_video_frame_map(&a, &info, ours, GST_MAP_READ));
    ASSERT_TRUE(gst_video_frame_map(&b, &info, theirs, GST_MAP_READ));
    for (int plane = 0; plane < 3; ++plane) {
        int worst = 0, worstX = 0, worstY = 0;
        for (int y = 0; y < GST_VIDEO_FRAME_COMP_HEIGHT(&a, plane); ++y) {
            const auto* rowA = static_cast<const guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&a, plane)) +
                               y * GST_VIDEO_FRAME_PLANE_STRIDE(&a, plane);
            const auto* rowB = static_cast<const guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&b, plane)) +
                               y * GST_VIDEO_FRAME_PLANE_STRIDE(&b, plane);
            for (int x = 0; x < GST_VIDEO_FRAME_COMP_WIDTH(&a, plane); ++x) {
                const int d = std::abs(rowA[x] - rowB[x]);
                if (d > worst) std::tie(worst, worstX, worstY) = std::tuple(d, x, y);
            }
        }
        EXPECT_LE(worst, 2) << "plane " << "YUV"[plane] << " at " << worstX << "," << worstY;
    }
    gst_video_frame_unmap(&a);
    gst_video_frame_unmap(&b);
    gst_buffer_unref(ours);
    gst_buffer_unref(theirs);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RgbToI420,
    testing::Values(Picture{"BarsBgrx640x480", "BGRx", 640, 480, Pattern::Bars, 0, nullptr},
                    Picture{"GradientBgrx1280x1024", "BGRx", 1280, 1024, Pattern::Gradient, 0, nullptr},
                    Picture{"NoiseBgrxOddSizePaddedRows", "BGRx", 37, 23, Pattern::Noise, 12, nullptr},
                    Picture{"GradientRgbaOddSize", "RGBA", 7, 5, Pattern::Gradient, 0, nullptr},
                    Picture{"BarsXrgb", "xRGB", 64, 8, Pattern::Bars, 0, nullptr},
                    Picture{"NoiseAbgrOnePixel", "ABGR", 1, 1, Pattern::Noise, 0, nullptr},
                    Picture{"GradientBgrxFullRange", "BGRx", 64, 48, Pattern::Gradient, 0, "jpeg"},
                    Picture{"NoiseRgbxBt709", "RGBx", 32, 16, Pattern::Noise, 4, "bt709"}),
    [](const testing::TestParamInfo<Picture>& info) { return std::string(info.param.name); });

// The writer's chain: an RGB picture is converted by our element and only passed on by
// videoconvert; any other format passes our element for videoconvert; videoscale sizes either.
struct Chain {
    const char* name;
    const char* format;
    int width, height;            // the camera's
    int outWidth, outHeight;      // the file's
    const char* convertedFormat;  // what our element gives out
};

void PrintTo(const Chain& c, std::ostream* out) { *out << c.name; }

class WriterChain : public WithElement, public testing::WithParamInterface<Chain> {};

TEST_P(WriterChain, NegotiatesAndScales) {
    const Chain& c = GetParam();
    GstVideoInfo inInfo;
    gst_video_info_set_format(&inInfo, gst_video_format_from_string(c.format), guint(c.width), guint(c.height));
    GstBuffer* input = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&inInfo), nullptr);
    gst_buffer_memset(input, 0, 0x80, GST_VIDEO_INFO_SIZE(&inInfo));
    GstCaps* converted = nullptr;
    GstBuffer* out = RunElements("vistrelrgbtoi420 ! videoconvert ! videoscale add-borders=false",
                         Caps(c.format, c.width, c.height), Caps("I420", c.outWidth, c.outHeight), input, &converted);
    gst_buffer_unref(input);
    ASSERT_TRUE(out);
    GstVideoInfo outInfo;
    gst_video_info_set_format(&outInfo, GST_VIDEO_FORMAT_I420, guint(c.outWidth), guint(c.outHeight));
    EXPECT_EQ(gst_buffer_get_size(out), GST_VIDEO_INFO_SIZE(&outInfo));
    gst_buffer_unref(out);
    ASSERT_TRUE(converted);
    GstStructure* s = gst_caps_get_structure(converted, 0);
    EXPECT_STREQ(gst_structure_get_string(s, "format"), c.convertedFormat);
    int width = 0;
    EXPECT_TRUE(gst_structure_get_int(s, "width", &width));
    EXPECT_EQ(width, c.width) << "our element does not scale";
    gst_caps_unref(converted);
}

INSTANTIATE_TEST_SUITE_P(Chains, WriterChain,
                         testing::Values(Chain{"Bgrx720x480To640x480", "BGRx", 720, 480, 640, 480, "I420"},
                                         Chain{"Bgrx352x288Kept", "BGRx", 352, 288, 352, 288, "I420"},
                                         Chain{"Yuy2PassesToVideoconvert", "YUY2", 720, 480, 640, 480, "YUY2"},
                                         Chain{"I420PassesThrough", "I420", 640, 480, 640, 480, "I420"}),
                         [](const testing::TestParamInfo<Chain>& info) { return std::string(info.param.name); });

}  // namespace
