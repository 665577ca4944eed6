// The effect filter driven through a GstHarness, pixel by pixel. Source pixels say where they
// come from (red counts columns, green rows, blue mixes both with the frame number), and every
// output pixel is checked against a plain per-pixel reference written here, so a wrong corner,
// a swapped channel, a stale frame or a misread row stride shows.
#include <gst/check/gstharness.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct Format {
    const char* name;
    int bytesPerPixel;
    int red, green, blue;  // byte positions in a pixel, written out by hand
    bool hasAlpha;         // the fourth byte is alpha (kept) rather than padding (undefined)
};

constexpr Format kFormats[] = {
    {"BGRx", 4, 2, 1, 0, false}, {"BGRA", 4, 2, 1, 0, true}, {"RGBx", 4, 0, 1, 2, false},
    {"RGBA", 4, 0, 1, 2, true},  {"xRGB", 4, 1, 2, 3, false}, {"ARGB", 4, 1, 2, 3, true},
    {"xBGR", 4, 3, 2, 1, false}, {"ABGR", 4, 3, 2, 1, true},  {"BGR", 3, 2, 1, 0, false},
    {"RGB", 3, 0, 1, 2, false},
};

struct Size {
    int width, height;
};
// One pixel; odd sizes below a vector's width; a width with a vector body and a tail.
constexpr Size kSizes[] = {{1, 1}, {7, 5}, {67, 5}};

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct Controls {
    int tone = 0, red = 1, green = 1, blue = 1, mirror = 0;
};

std::string Describe(const Controls& c) {
    std::ostringstream s;
    s << "tone " << c.tone << " (" << c.red << "," << c.green << "," << c.blue << ") mirror " << c.mirror;
    return s.str();
}

// Red is unique per column and green per row up to 256 pixels; some pixels are bright enough and
// some dark enough for every sepia channel to clamp.
Rgb SourcePixel(int x, int y, int frame) {
    return {(5 * x + 2) & 0xFF, (250 - 61 * y) & 0xFF, (255 - 40 * frame - 7 * (x + y)) & 0xFF};
}
int SourceFourthByte(int x, int y, int frame) { return (0x5A + 7 * x + 11 * y + frame) & 0xFF; }

int AlphaPosition(const Format& f) { return 6 - f.red - f.green - f.blue; }
// Rows are padded to a multiple of four bytes.
int Stride(const Format& f, int width) { return (width * f.bytesPerPixel + 3) / 4 * 4; }

// The effects as the program describes them, one pixel at a time.
Rgb ReferenceTone(Rgb p, const Controls& c) {
    const int y = (38 * p.r + 75 * p.g + 15 * p.b) / 128;  // BT.601 in 1/128
    switch (c.tone) {
    case 1: return {y, y, y};
    case 6: return {std::min(255, y + 40), std::min(255, y + 20), std::max(0, y - 20)};
    case -1: return {c.red ? p.r : 0, c.green ? p.g : 0, c.blue ? p.b : 0};
    default: return p;
    }
}

// The input pixel that output pixel (x, y) shows.
std::pair<int, int> ReferenceSource(int x, int y, Size s, int mirror) {
    const bool leftRight = mirror == 2 || mirror == 4;
    const bool topBottom = mirror == 2 || mirror == 6;
    return {leftRight ? s.width - 1 - x : x, topBottom ? s.height - 1 - y : y};
}

struct BufferUnref {
    void operator()(GstBuffer* b) const { gst_buffer_unref(b); }
};
using BufferPtr = std::unique_ptr<GstBuffer, BufferUnref>;

GstBuffer* MakeFrame(const Format& f, Size s, int frame) {
    const int stride = Stride(f, s.width);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, static_cast<gsize>(stride) * s.height, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    std::memset(map.data, 0xEE, map.size);  // row padding, never to be taken for pixels
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            guint8* p = map.data + y * stride + x * f.bytesPerPixel;
            const Rgb c = SourcePixel(x, y, frame);
            p[f.red] = static_cast<guint8>(c.r);
            p[f.green] = static_cast<guint8>(c.g);
            p[f.blue] = static_cast<guint8>(c.b);
            if (f.bytesPerPixel == 4) p[AlphaPosition(f)] = static_cast<guint8>(SourceFourthByte(x, y, frame));
        }
    }
    gst_buffer_unmap(buffer, &map);
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(frame, GST_SECOND, 30);
    return buffer;
}

testing::AssertionResult FrameMatches(GstBuffer* out, const Format& f, Size s, int frame, const Controls& c) {
    if (!out) return testing::AssertionFailure() << "no output buffer";
    int stride = Stride(f, s.width);
    gsize offset = 0;
    if (const GstVideoMeta* meta = gst_buffer_get_video_meta(out)) {
        stride = meta->stride[0];
        offset = meta->offset[0];
    }
    GstMapInfo map;
    if (!gst_buffer_map(out, &map, GST_MAP_READ)) return testing::AssertionFailure() << "cannot map output";
    testing::AssertionResult result = testing::AssertionSuccess();
    if (map.size < offset + static_cast<gsize>(stride) * (s.height - 1) + s.width * f.bytesPerPixel) {
        result = testing::AssertionFailure() << "output of " << map.size << " bytes is too small";
    }
    for (int y = 0; y < s.height && result; ++y) {
        for (int x = 0; x < s.width && result; ++x) {
            const guint8* p = map.data + offset + y * stride + x * f.bytesPerPixel;
            const Rgb got{p[f.red], p[f.green], p[f.blue]};
            const auto [sx, sy] = ReferenceSource(x, y, s, c.mirror);
            const Rgb want = ReferenceTone(SourcePixel(sx, sy, frame), c);
            const int wantAlpha = SourceFourthByte(sx, sy, frame);
            if (!(got == want) || (f.hasAlpha && p[AlphaPosition(f)] != wantAlpha)) {
                result = testing::AssertionFailure()
                         << f.name << " " << s.width << "x" << s.height << " frame " << frame << ", " << Describe(c)
                         << ": pixel (" << x << "," << y << ") is (" << got.r << "," << got.g << "," << got.b
                         << (f.hasAlpha ? " a " + std::to_string(p[AlphaPosition(f)]) : std::string()) << "), want ("
                         << want.r << "," << want.g << "," << want.b
                         << (f.hasAlpha ? " a " + std::to_string(wantAlpha) : std::string()) << ") from (" << sx
                         << "," << sy << ")";
            }
        }
    }
    gst_buffer_unmap(out, &map);
    return result;
}

// The filter in a harness with fixed caps; frames are numbered as they are pushed.
class EffectHarness {
public:
    EffectHarness(const Format& f, Size s) : m_format(f), m_size(s), m_harness(gst_harness_new("videoeffect")) {
        gchar* caps = g_strdup_printf("video/x-raw,format=%s,width=%d,height=%d,framerate=30/1", f.name, s.width,
                                      s.height);
        gst_harness_set_src_caps_str(m_harness, caps);
        g_free(caps);
    }
    ~EffectHarness() { gst_harness_teardown(m_harness); }
    EffectHarness(const EffectHarness&) = delete;
    EffectHarness& operator=(const EffectHarness&) = delete;

    GstElement* element() const { return m_harness->element; }

    // As the program's SetEffect and SetMirror do.
    void SetEffect(int tone, int red, int green, int blue) const {
        g_signal_emit_by_name(element(), "set-effect", tone, red, green, blue);
    }
    void SetMirror(int mirror) const { g_signal_emit_by_name(element(), "set-mirror", mirror); }
    void Set(const Controls& c) const {
        SetEffect(c.tone, c.red, c.green, c.blue);
        SetMirror(c.mirror);
    }

    // Pushes the next frame; returns what came out and the frame's number.
    std::pair<BufferPtr, int> PushNext() {
        const int frame = m_frame++;
        return {BufferPtr{gst_harness_push_and_pull(m_harness, MakeFrame(m_format, m_size, frame))}, frame};
    }

    // Pushes the next frame and checks what comes out against the reference for c.
    testing::AssertionResult NextFrameIs(const Controls& c) {
        const auto [out, frame] = PushNext();
        return FrameMatches(out.get(), m_format, m_size, frame, c);
    }

private:
    const Format& m_format;
    Size m_size;
    GstHarness* m_harness;
    int m_frame = 0;
};

class EffectFormats : public testing::TestWithParam<Format> {
protected:
    // Runs every set of controls, each on a new frame, for every size.
    void ExpectEach(std::initializer_list<Controls> cases) {
        for (const Size& size : kSizes) {
            EffectHarness h(GetParam(), size);
            for (const Controls& c : cases) {
                h.Set(c);
                EXPECT_TRUE(h.NextFrameIs(c));
            }
        }
    }
};

TEST_P(EffectFormats, EveryToneCode) {
    ExpectEach({{.tone = 1}, {.tone = 6}, {.tone = 0}, {.tone = -1}, {.tone = 3}, {.tone = -7}, {.tone = 6}});
}

TEST_P(EffectFormats, ChannelMaskKeepsExactlyTheFlaggedChannels) {
    ExpectEach({{-1, 1, 0, 0}, {-1, 0, 1, 0}, {-1, 0, 0, 1}, {-1, 1, 1, 0}, {-1, 1, 0, 1}, {-1, 0, 1, 1},
                {-1, 0, 0, 0}, {-1, 1, 1, 1}});
}

TEST_P(EffectFormats, EveryMirrorCode) {
    ExpectEach({{.mirror = 2}, {.mirror = 4}, {.mirror = 6}, {.mirror = 0}, {.mirror = 5}, {.mirror = -2}});
}

TEST_P(EffectFormats, ToneAndMirrorTogether) {
    ExpectEach({{.tone = 6, .mirror = 4}, {.tone = 1, .mirror = 2}, {-1, 0, 1, 1, 6}, {.tone = 6, .mirror = 6},
                {-1, 1, 0, 0, 4}, {.tone = 1, .mirror = 4}, {-1, 0, 0, 1, 2}});
}

INSTANTIATE_TEST_SUITE_P(AllFormats, EffectFormats, testing::ValuesIn(kFormats),
                         [](const testing::TestParamInfo<Format>& info) { return std::string(info.param.name); });

TEST(VideoEffectFilter, IsFoundAsTheProgramLooksForIt) {
    GstElementFactory* factory = gst_element_factory_find("videoeffect");
    ASSERT_NE(factory, nullptr);
    EXPECT_STREQ(gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME), "Video Effect Filter");
    EXPECT_STREQ(gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS), "Filter/Effect/Video");
    EXPECT_STREQ(gst_plugin_feature_get_plugin_name(GST_PLUGIN_FEATURE(factory)), "Videoeffect");

    int sinks = 0, sources = 0;
    for (const GList* t = gst_element_factory_get_static_pad_templates(factory); t; t = t->next) {
        const auto* pad = static_cast<const GstStaticPadTemplate*>(t->data);
        EXPECT_EQ(pad->presence, GST_PAD_ALWAYS) << pad->name_template;
        (pad->direction == GST_PAD_SINK ? sinks : sources)++;
    }
    EXPECT_EQ(sinks, 1);
    EXPECT_EQ(sources, 1);

    GstElement* element = gst_element_factory_create(factory, nullptr);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->numsinkpads, 1);
    EXPECT_EQ(element->numsrcpads, 1);
    gst_object_unref(element);
    gst_object_unref(factory);
}

void CountNotify(GObject*, GParamSpec*, gpointer count) { ++*static_cast<int*>(count); }

TEST(VideoEffectFilter, SignalsSetAllTheirControlsInOneCall) {
    GstElement* element = gst_element_factory_make("videoeffect", nullptr);
    ASSERT_NE(element, nullptr);
    const auto read = [element] {
        Controls c;
        g_object_get(element, "tone", &c.tone, "red", &c.red, "green", &c.green, "blue", &c.blue, "mirror", &c.mirror,
                     nullptr);
        return Describe(c);
    };
    EXPECT_EQ(read(), Describe({}));  // a new filter changes nothing

    int notifications = 0;
    g_signal_connect(element, "notify", G_CALLBACK(CountNotify), &notifications);
    g_signal_emit_by_name(element, "set-effect", -1, 1, 0, 1);
    EXPECT_EQ(read(), Describe({-1, 1, 0, 1, 0}));
    EXPECT_EQ(notifications, 2);  // tone and green moved

    g_signal_emit_by_name(element, "set-effect", 6, 5, 1, -3);  // any non-zero flag keeps its channel
    g_signal_emit_by_name(element, "set-mirror", 4);
    EXPECT_EQ(read(), Describe({6, 1, 1, 1, 4}));

    g_object_set(element, "tone", 1, "mirror", 6, "green", 0, nullptr);
    EXPECT_EQ(read(), Describe({1, 1, 0, 1, 6}));
    gst_object_unref(element);
}

TEST(VideoEffectFilter, ChangesBetweenFramesTakeEffectOnTheNextFrame) {
    for (const Format& f : {kFormats[0], kFormats[9]}) {
        EffectHarness h(f, {7, 5});
        Controls c;
        EXPECT_TRUE(h.NextFrameIs(c));
        c.tone = 6;
        g_object_set(h.element(), "tone", 6, nullptr);
        EXPECT_TRUE(h.NextFrameIs(c));
        c.mirror = 4;
        h.SetMirror(4);
        EXPECT_TRUE(h.NextFrameIs(c));
        c = {-1, 0, 1, 0, 4};
        h.SetEffect(-1, 0, 1, 0);
        EXPECT_TRUE(h.NextFrameIs(c));
        c = {};
        h.Set(c);
        EXPECT_TRUE(h.NextFrameIs(c));
        c.tone = 1;
        h.SetEffect(1, 1, 1, 1);
        EXPECT_TRUE(h.NextFrameIs(c));
        EXPECT_TRUE(h.NextFrameIs(c));  // and it stays
    }
}

// The effects dialog changes controls from the user-interface thread while the streaming thread
// works: every frame must show one whole setting, never half of one or of the change.
TEST(VideoEffectFilter, ControlsChangedWhileFramesFlowApplyToWholeFrames) {
    const Format& bgrx = kFormats[0];
    const Size size{64, 16};
    EffectHarness h(bgrx, size);
    const Controls grey{1, 1, 1, 1, 4}, redOnly{-1, 1, 0, 0, 4};
    h.Set(grey);
    std::atomic<bool> done{false};
    std::thread changer([&] {
        for (bool flip = false; !done; flip = !flip) {
            const Controls& c = flip ? grey : redOnly;
            h.SetEffect(c.tone, c.red, c.green, c.blue);
        }
    });
    for (int i = 0; i < 200; ++i) {
        const auto [out, frame] = h.PushNext();
        const bool whole = FrameMatches(out.get(), bgrx, size, frame, grey) ||
                           FrameMatches(out.get(), bgrx, size, frame, redOnly);
        EXPECT_TRUE(whole) << "frame " << frame << " is neither grey nor red only: "
                           << FrameMatches(out.get(), bgrx, size, frame, grey).message();
        if (!whole) break;
    }
    done = true;
    changer.join();
}

TEST(VideoEffectFilter, RefusesFormatsItCannotWorkOn) {
    for (const char* caps : {"video/x-raw,format=I420,width=8,height=8,framerate=30/1",
                             "video/x-raw,format=RGB16,width=8,height=8,framerate=30/1",
                             "video/x-raw,format=GRAY8,width=8,height=8,framerate=30/1"}) {
        GstHarness* h = gst_harness_new("videoeffect");
        gst_harness_set_src_caps_str(h, caps);
        EXPECT_EQ(gst_harness_push(h, gst_buffer_new_allocate(nullptr, 8 * 8 * 2, nullptr)), GST_FLOW_NOT_NEGOTIATED)
            << caps;
        gst_harness_teardown(h);
    }
}

}  // namespace
