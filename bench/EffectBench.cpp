// Time per 1280x1024 BGRx frame: a plain memcpy of the frame, each effect of the video effect
// filter, and GStreamer's stock elements that do the same job. Every element runs the same way:
// a buffer pushed through a GstHarness and the result pulled, input buffers coming from a pool
// so that in-place elements get a writable buffer without a hidden copy.
#include <benchmark/benchmark.h>
#include <gst/check/gstharness.h>
#include <gst/gst.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr std::size_t kFrameBytes = std::size_t{kWidth} * kHeight * 4;
constexpr int kInputBuffers = 1;

// A frame with some of everything: gradients in each channel and a little noise, so no effect
// gets away with a constant.
void FillFrame(guint8* p) {
    std::uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x, p += 4) {
            seed = seed * 1664525u + 1013904223u;
            p[0] = static_cast<guint8>(x + (seed >> 28));
            p[1] = static_cast<guint8>(y + (seed >> 24));
            p[2] = static_cast<guint8>((x + y) / 4);
            p[3] = 0xFF;
        }
    }
}

void Memcpy(benchmark::State& state) {
    std::vector<guint8> src(kFrameBytes), dst(kFrameBytes);
    FillFrame(src.data());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kFrameBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}

void Pipeline(benchmark::State& state, const std::string& description) {
    GstHarness* h = gst_harness_new_parse(description.c_str());
    if (!h) {
        state.SkipWithError(("cannot build " + description).c_str());
        return;
    }
    gst_harness_set_src_caps_str(h, "video/x-raw,format=BGRx,width=1280,height=1024,framerate=30/1");

    GstBufferPool* pool = gst_buffer_pool_new();
    GstStructure* config = gst_buffer_pool_get_config(pool);
    gst_buffer_pool_config_set_params(config, nullptr, kFrameBytes, kInputBuffers, kInputBuffers);
    gst_buffer_pool_set_config(pool, config);
    gst_buffer_pool_set_active(pool, TRUE);
    GstBuffer* buffers[kInputBuffers];
    for (GstBuffer*& buffer : buffers) {
        gst_buffer_pool_acquire_buffer(pool, &buffer, nullptr);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_WRITE);
        FillFrame(map.data);
        gst_buffer_unmap(buffer, &map);
    }
    for (GstBuffer* buffer : buffers) gst_buffer_unref(buffer);

    const auto pushPull = [&] {
        GstBuffer* in = nullptr;
        gst_buffer_pool_acquire_buffer(pool, &in, nullptr);
        GstBuffer* out = gst_harness_push_and_pull(h, in);
        if (out) gst_buffer_unref(out);
        return out != nullptr;
    };
    // The first buffer negotiates and allocates; it is not what is measured.
    if (!pushPull()) state.SkipWithError(("no output from " + description).c_str());
    for (auto _ : state) {
        if (!pushPull()) {
            state.SkipWithError(("no output from " + description).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
    gst_harness_teardown(h);
    gst_buffer_pool_set_active(pool, FALSE);
    gst_object_unref(pool);
}

struct Case {
    const char* name;
    const char* description;
};

const Case kCases[] = {
    {"harness/identity", "identity"},
    {"videoeffect/none", "videoeffect"},
    {"videoeffect/bw", "videoeffect tone=1"},
    {"videoeffect/sepia", "videoeffect tone=6"},
    {"videoeffect/mask-r", "videoeffect tone=-1 red=1 green=0 blue=0"},
    {"videoeffect/mirror2", "videoeffect mirror=2"},
    {"videoeffect/mirror4", "videoeffect mirror=4"},
    {"videoeffect/mirror6", "videoeffect mirror=6"},
    {"videoeffect/sepia+mirror4", "videoeffect tone=6 mirror=4"},
    {"videoflip/rotate-180", "videoflip video-direction=180"},
    {"videoflip/horizontal-flip", "videoflip video-direction=horiz"},
    {"videoflip/vertical-flip", "videoflip video-direction=vert"},
    {"coloreffects/sepia", "coloreffects preset=sepia"},
    {"videobalance/saturation=0", "videobalance saturation=0"},
    {"coloreffects/sepia+videoflip/horizontal-flip", "coloreffects preset=sepia ! videoflip video-direction=horiz"},
};

}  // namespace

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    GError* error = nullptr;
    GstPlugin* plugin = gst_plugin_load_file(VISTREL_VIDEOEFFECT_PLUGIN, &error);
    if (!plugin) {
        std::fprintf(stderr, "cannot load %s: %s\n", VISTREL_VIDEOEFFECT_PLUGIN, error ? error->message : "?");
        return 1;
    }
    gst_object_unref(plugin);

    benchmark::RegisterBenchmark("memcpy", Memcpy)->Unit(benchmark::kMicrosecond);
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark(c.name, Pipeline, std::string(c.description))->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
