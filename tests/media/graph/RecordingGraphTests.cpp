// Recording through the ASF writer on the preview graph, the way the program extends it: files
// as a player finds them (streams, sizes, start and length, a full decode without a fault in
// ffmpeg and in GStreamer, the picture after a seek) for the ways a recording is made; sound in
// step with the picture over a minute; a stop whose end-of-stream never arrives; a camera that
// fails while the file is written.
#include <gtest/gtest.h>

#include <sstream>

#include "AsfWriterFilter.h"
#include "FileChecks.h"
#include "GraphTestSupport.h"
#include "GstFilter.h"
#include "GstGraph.h"
#include "platform/Strings.h"

using namespace graphtest;

namespace {
// The profile edits the recorder makes: buffer window, complexity, frame size, key-frame
// spacing and quality; the audio stream goes when there is no microphone.
ComPtr<IWMProfile> RecordingProfile(int width, int height, bool withAudio) {
    ComPtr<IWMProfileManager> manager;
    EXPECT_EQ(Media().CreateProfileManager(manager), S_OK);
    ComPtr<IWMProfile> profile;
    EXPECT_EQ(manager->LoadProfileByID(WMProfile_V80_384Video, profile), S_OK);
    uint32_t count = 0;
    EXPECT_EQ(profile->GetStreamCount(count), S_OK);
    for (int i = int(count) - 1; i >= 0; --i) {
        ComPtr<IWMStreamConfig> stream;
        EXPECT_EQ(profile->GetStream(uint32_t(i), stream), S_OK);
        EXPECT_EQ(stream->SetBufferWindow(3000), S_OK);
        EXPECT_EQ(profile->ReconfigStream(stream.Get()), S_OK);
        GUID type;
        EXPECT_EQ(stream->GetStreamType(type), S_OK);
        if (type == WMMEDIATYPE_Video) {
            ComPtr<IWMVideoMediaProps> props;
            EXPECT_EQ(stream.As(props), S_OK);
            uint32_t size = 0;
            EXPECT_EQ(props->GetMediaType(nullptr, size), S_OK);
            AM_MEDIA_TYPE mt;
            EXPECT_EQ(props->GetMediaType(&mt, size), S_OK);
            auto vih = *ReadVideoInfo(mt);
            vih.rcSource = vih.rcTarget = platform::Rect{0, 0, width, height};
            vih.bmiHeader.biWidth = width;
            vih.bmiHeader.biHeight = height;
            WriteVideoInfo(mt, vih);
            EXPECT_EQ(props->SetMediaType(mt), S_OK);
            EXPECT_EQ(props->SetMaxKeyFrameSpacing(70'000'000), S_OK);
            EXPECT_EQ(props->SetQuality(10), S_OK);
            EXPECT_EQ(profile->ReconfigStream(stream.Get()), S_OK);
        } else if (!withAudio) {
            EXPECT_EQ(profile->RemoveStream(stream.Get()), S_OK);
        }
    }
    return profile;
}

class Recording : public testing::Test {
protected:
    void TearDown() override {
        if (m_preview.control) (void)m_preview.control->Stop();
    }

    // A writer for the file, configured for that size, and not yet in a graph.
    void MakeWriter(const std::string& path, int width, int height, bool withAudio) {
        m_writer = Create<IBaseFilter>(CLSID_WMAsfWriter);
        ASSERT_TRUE(m_writer);
        ComPtr<IFileSinkFilter> sink;
        ASSERT_EQ(m_writer.As(sink), S_OK);
        ASSERT_EQ(sink->SetFileName(platform::FromUtf8(path), nullptr), S_OK);
        ComPtr<IConfigAsfWriter> config;
        ASSERT_EQ(m_writer.As(config), S_OK);
        ASSERT_EQ(config->ConfigureFilterUsingProfile(RecordingProfile(width, height, withAudio).Get()), S_OK);
        EXPECT_TRUE(GetPin(m_writer.Get(), PINDIR_INPUT, withAudio ? 1 : 0));
        EXPECT_FALSE(GetPin(m_writer.Get(), PINDIR_INPUT, withAudio ? 2 : 1));
    }

    // The writer joins the preview graph (stopped or running): pictures from the Smart Tee's
    // capture output, sound from the microphone's chain.
    void AddWriter(bool withAudio, const std::wstring& microphone = kMicrophone) {
        IGraphBuilder* graph = m_preview.graph.Get();
        ASSERT_EQ(graph->AddFilter(m_writer.Get(), L"ASF Writer"), S_OK);
        ASSERT_EQ(graph->Connect(GetPin(m_preview.tee.Get(), PINDIR_OUTPUT, 0).Get(),
                                 GetPin(m_writer.Get(), PINDIR_INPUT, withAudio ? 1 : 0).Get()),
                  S_OK);
        if (!withAudio) return;
        ComPtr<IBaseFilter> source = BindByName(CLSID_AudioInputDeviceCategory, microphone);
        ComPtr<IBaseFilter> pcm = BindByName(CLSID_AudioCompressorCategory, L"PCM");
        ComPtr<IBaseFilter> tee2 = Create<IBaseFilter>(CLSID_SmartTee);
        ASSERT_TRUE(source && pcm && tee2);
        ASSERT_EQ(graph->AddFilter(source.Get(), L"Audio Cap"), S_OK);
        ASSERT_EQ(graph->AddFilter(pcm.Get(), L"PCM"), S_OK);
        ASSERT_EQ(graph->AddFilter(tee2.Get(), L"Smart Tee2"), S_OK);
        ASSERT_EQ(graph->Connect(GetPin(source.Get(), PINDIR_OUTPUT, 0).Get(), GetPin(pcm.Get(), PINDIR_INPUT, 0).Get()), S_OK);
        ASSERT_EQ(graph->Connect(GetPin(pcm.Get(), PINDIR_OUTPUT, 0).Get(), GetPin(tee2.Get(), PINDIR_INPUT, 0).Get()), S_OK);
        ASSERT_EQ(graph->Connect(GetPin(tee2.Get(), PINDIR_OUTPUT, 0).Get(), GetPin(m_writer.Get(), PINDIR_INPUT, 0).Get()), S_OK);
    }

    // The preview graph, stopped, with the writer (and the sound chain) added.
    void Build(const std::string& path, bool withAudio) {
        ASSERT_TRUE(BuildPreview(m_preview, 640, 480, false));
        ASSERT_NO_FATAL_FAILURE(MakeWriter(path, 640, 480, withAudio));
        ASSERT_NO_FATAL_FAILURE(AddWriter(withAudio));
    }

    void RunFor(int ms) {
        ASSERT_GE(m_preview.control->Run(), 0);
        FILTER_STATE state = State_Stopped;
        ASSERT_EQ(m_preview.control->GetState(INFINITE, state), S_OK);
        ASSERT_EQ(state, State_Running);
        PumpFor(ms);
    }

    platform::gst::AsfWriterFilter& Writer() {
        return *dynamic_cast<platform::gst::AsfWriterFilter*>(platform::gst::AsGstFilter(m_writer.Get()));
    }

    PreviewGraph m_preview;
    ComPtr<IBaseFilter> m_writer;
};

const std::map<std::string, std::string>* StreamOf(const Probe& probe, const std::string& codec) {
    for (const auto& stream : probe.streams)
        if (stream.count("codec_name") && stream.at("codec_name") == codec) return &stream;
    return nullptr;
}

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(const std::vector<uint8_t>& frame, int width, int x, int y) {
    const uint8_t* p = frame.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    return {p[0], p[1], p[2]};
}

bool IsGrey(Rgb p) { return p.r > 150 && p.g > 150 && p.b > 150; }

// The test camera's colour bars, whole and the right way up: the grey bar at the top left
// (no border above or beside it), blue at the top right, the dark blue of the bottom row below
// the grey, and the grey bar a seventh of the width wide (scaled, not cropped).
void ExpectWholeBarsUpright(const std::vector<uint8_t>& frame, int width, int height) {
    ASSERT_EQ(frame.size(), size_t(width) * size_t(height) * 3) << "no frame after the seek";
    EXPECT_TRUE(IsGrey(PixelAt(frame, width, width / 14, 2))) << "top left";
    EXPECT_TRUE(IsGrey(PixelAt(frame, width, 2, height / 3))) << "left edge";
    Rgb right = PixelAt(frame, width, width - 3, height / 3);
    EXPECT_TRUE(right.b > 150 && right.r < 80 && right.g < 80) << "right edge " << right.r << "," << right.g << "," << right.b;
    EXPECT_FALSE(IsGrey(PixelAt(frame, width, width / 14, height - 3))) << "bottom left";
    int greyEnds = 0;
    while (greyEnds < width && IsGrey(PixelAt(frame, width, greyEnds, height / 3))) ++greyEnds;
    EXPECT_NEAR(greyEnds, width / 7, 4) << "the first bar's width";
}

// One way of making a recording, and what its file must be.
struct Made {
    const char* name;
    std::wstring camera;
    int cameraWidth, cameraHeight;
    int width, height;  // the profile's frame size
    bool withAudio;
    bool joinRunning;         // the writer joins a preview that runs already
    std::vector<int> runsMs;  // the graph runs this long, is stopped, and runs again
    bool withEffect = false;  // the pictures reach the writer through the effect filter, as BGRx
    bool pausedBeforeStop = false;  // paused for a while first, as for a sleep
};

void PrintTo(const Made& made, std::ostream* out) { *out << made.name; }

class RecordingMade : public Recording, public testing::WithParamInterface<Made> {};

TEST_P(RecordingMade, GivesAFileThatPlaysWholeFromZeroAndSeeks) {
    const Made& made = GetParam();
    const std::string path = TempPath(std::string(made.name) + ".asf");
    if (made.withEffect && !Env().effectRegistered) GTEST_SKIP() << "effect plugin not registered";
    ASSERT_TRUE(BuildPreview(m_preview, made.cameraWidth, made.cameraHeight, made.withEffect, made.camera));
    ASSERT_NO_FATAL_FAILURE(MakeWriter(path, made.width, made.height, made.withAudio));
    if (made.joinRunning) {
        ASSERT_NO_FATAL_FAILURE(RunFor(1000));
    }
    ASSERT_NO_FATAL_FAILURE(AddWriter(made.withAudio));
    for (size_t run = 0; run < made.runsMs.size(); ++run) {
        if (made.joinRunning && run == 0) {
            PumpFor(made.runsMs[run]);
        } else {
            ASSERT_NO_FATAL_FAILURE(RunFor(made.runsMs[run]));
        }
        if (made.pausedBeforeStop) {
            ASSERT_GE(m_preview.control->Pause(), 0);
            PumpFor(1000);
        }
        int64_t start = NowMs();
        StopGraph(m_preview.control.Get());
        EXPECT_LT(NowMs() - start, 3000) << "Stop waited for its bound: the end-of-stream did not come through";
    }

    Probe probe = RunFfprobe(path);
    ASSERT_TRUE(probe.ok);
    ASSERT_EQ(probe.streams.size(), made.withAudio ? 2u : 1u);
    const auto* video = StreamOf(probe, "wmv2");
    ASSERT_TRUE(video);
    EXPECT_EQ(Number(*video, "width"), made.width);
    EXPECT_EQ(Number(*video, "height"), made.height);
    EXPECT_NEAR(Number(*video, "start_time"), 0.0, 0.1);
    if (made.withAudio) {
        const auto* audio = StreamOf(probe, "wmav2");
        ASSERT_TRUE(audio);
        EXPECT_NEAR(Number(*audio, "start_time"), 0.0, 0.1);
        EXPECT_NEAR(Number(*audio, "duration"), made.runsMs.back() / 1000.0, 0.5);
    }
    const double seconds = made.runsMs.back() / 1000.0;
    EXPECT_NEAR(Number(*video, "duration"), seconds, 0.5);
    EXPECT_NEAR(Number(probe.format, "duration"), seconds, 0.5);
    EXPECT_EQ(FfmpegDecodeErrors(path), "");
    EXPECT_EQ(GstDecodeProblems(path), "");
    ExpectWholeBarsUpright(FrameAt(path, seconds / 2, made.width, made.height), made.width, made.height);
}

INSTANTIATE_TEST_SUITE_P(
    Recording, RecordingMade,
    testing::Values(Made{"WithSound", kCamera, 640, 480, 640, 480, true, false, {3000}},
                    Made{"VideoOnly", kCamera, 640, 480, 640, 480, false, false, {1500}},
                    Made{"JoiningARunningGraph", kCamera, 352, 288, 352, 288, false, true, {1500}},
                    // The program runs a graph up to three times when a start fails: each run
                    // writes the file anew.
                    Made{"RunAgainAfterAStop", kCamera, 640, 480, 640, 480, true, false, {1000, 2000}},
                    Made{"DvCameraScaledTo640x480", kDvCamera, 720, 480, 640, 480, true, false, {1500}},
                    Made{"ThroughTheEffectScaledTo640x480", kDvCamera, 720, 480, 640, 480, false, false, {1500}, true},
                    Made{"PausedForASleepThenStopped", kCamera, 640, 480, 640, 480, true, false, {2000}, false, true}),
    [](const testing::TestParamInfo<Made>& info) { return std::string(info.param.name); });

TEST_F(Recording, StopGivesUpAfterItsBoundWhenTheEndOfStreamNeverArrives) {
    const std::string path = TempPath("lost-eos.asf");
    ASSERT_NO_FATAL_FAILURE(Build(path, false));
    // Everything the muxer writes still reaches the file, but its end-of-stream does not.
    GstPad* muxed = gst_element_get_static_pad(Writer().Muxer(), "src");
    gst_pad_add_probe(
        muxed, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
        [](GstPad*, GstPadProbeInfo* info, gpointer) {
            return GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
        },
        nullptr, nullptr);
    gst_object_unref(muxed);
    ASSERT_NO_FATAL_FAILURE(RunFor(500));

    int64_t start = NowMs();
    EXPECT_EQ(m_preview.control->Stop(), S_OK);
    int64_t took = NowMs() - start;
    const int64_t bound = platform::gst::GstGraph::kFinishBoundUs / 1000;
    EXPECT_GE(took, bound - 100);
    EXPECT_LT(took, bound + 2000);
    FILTER_STATE state = State_Running;
    EXPECT_EQ(m_preview.control->GetState(0, state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    GstState current = GST_STATE_PLAYING;
    gst_element_get_state(Writer().Element(), &current, nullptr, 0);
    EXPECT_EQ(current, GST_STATE_NULL);
}

TEST_F(Recording, CameraFailingWhileWritingIsReportedAndTheFileIsFinished) {
    const std::string path = TempPath("failed.asf");
    ASSERT_NO_FATAL_FAILURE(Build(path, true));
    ASSERT_NO_FATAL_FAILURE(RunFor(1000));
    // The camera's next frame fails as a device that went away does.
    GstPad* camera = platform::gst::AsGstFilter(m_preview.camera.Get())->PinPad(PINDIR_OUTPUT, 0);
    gst_pad_add_probe(
        camera, GST_PAD_PROBE_TYPE_BUFFER,
        [](GstPad*, GstPadProbeInfo* info, gpointer) {
            GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_ERROR;
            gst_buffer_unref(GST_PAD_PROBE_INFO_BUFFER(info));
            GST_PAD_PROBE_INFO_DATA(info) = nullptr;
            return GST_PAD_PROBE_HANDLED;
        },
        nullptr, nullptr);

    FILTER_STATE state = State_Stopped;
    int64_t start = NowMs();
    HRESULT hr = S_OK;
    while ((hr = m_preview.control->GetState(50, state)) != E_FAIL && NowMs() - start < 3000) {
    }
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_EQ(m_preview.control->GetState(INFINITE, state), E_FAIL) << "the error stays until the graph stops";
    // The writer finishes the file by itself; the stop that follows has nothing left to wait for.
    EXPECT_TRUE(Writer().WaitFinished(g_get_monotonic_time() + 3 * G_TIME_SPAN_SECOND));
    start = NowMs();
    StopGraph(m_preview.control.Get());
    EXPECT_LT(NowMs() - start, 1000);

    Probe probe = RunFfprobe(path);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.streams.size(), 2u);
    EXPECT_NEAR(Number(probe.format, "duration"), 1.0, 0.5);
}

// The time of each tone less the time of its white frame, in seconds, in the order of the file.
std::vector<double> SyncOffsets(const std::string& path) {
    std::vector<uint8_t> output;
    std::string errors;
    std::vector<double> offsets;
    if (!RunProgram({"python3", VISTREL_SYNC_OFFSETS, path}, output, errors) || !errors.empty()) {
        ADD_FAILURE() << "sync_offsets.py: " << errors;
        return offsets;
    }
    std::istringstream lines(std::string(output.begin(), output.end()));
    double flash = 0, tone = 0, offset = 0;
    while (lines >> flash >> tone >> offset) offsets.push_back(offset);
    return offsets;
}

// Run on its own (ctest media_sync_test): it records for a minute.
TEST_F(Recording, SyncSoundStaysInStepWithThePictureForAMinute) {
    const int seconds = 60;
    const double frameInterval = 1.0 / 30;
    const std::string path = TempPath("sync.asf");
    ASSERT_TRUE(BuildPreview(m_preview, 640, 480, false, kSyncCamera));
    ASSERT_NO_FATAL_FAILURE(MakeWriter(path, 640, 480, true));
    ASSERT_NO_FATAL_FAILURE(AddWriter(true, kSyncMicrophone));
    ASSERT_NO_FATAL_FAILURE(RunFor(seconds * 1000));
    StopGraph(m_preview.control.Get());
    EXPECT_EQ(FfmpegDecodeErrors(path), "");

    std::vector<double> offsets = SyncOffsets(path);
    // A mark at each whole second of the file, less the first and last that a cut can lose.
    ASSERT_GE(offsets.size(), size_t(seconds - 2));
    EXPECT_LE(offsets.size(), size_t(seconds + 1));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(offsets[i], 0.0, frameInterval) << "at the start, mark " << i;
        EXPECT_NEAR(offsets[offsets.size() - 1 - i], 0.0, frameInterval) << "at the end, mark " << offsets.size() - 1 - i;
    }
    double worst = 0;
    for (double offset : offsets) worst = std::max(worst, std::abs(offset));
    std::printf("sync: %zu marks, first %+.4f s, last %+.4f s, worst %.4f s\n", offsets.size(), offsets.front(),
                offsets.back(), worst);
}

}  // namespace
