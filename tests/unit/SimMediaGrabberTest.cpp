// The sim's sample grabber: the connected type, frames whose pixels encode (x, y, frame), and
// delivery on the calling thread or on a real streaming thread that a stop joins.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "SimMediaFixture.h"

using namespace platform::sim;

namespace {

// Checks every frame it is given against the pattern; safe to call from any thread.
class CheckingCallback final : public ISampleGrabberCB {
public:
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    uint32_t AddRef() override { return 2; }
    uint32_t Release() override { return 1; }

    HRESULT SampleCB(double, IMediaSample* sample) override {
        std::lock_guard lock(m_mutex);
        ++samples;
        nullSamples += sample == nullptr;
        return S_OK;
    }

    HRESULT BufferCB(double, uint8_t* buffer, long length) override {
        std::lock_guard lock(m_mutex);
        threads.push_back(std::this_thread::get_id());
        lengths.push_back(length);
        // Frame number from the top-left pixel, which is the first pixel of the last row.
        const uint32_t stride = SimRowStride(size.cx);
        const uint8_t* topLeft = buffer + static_cast<size_t>(size.cy - 1) * stride;
        frames.push_back(topLeft[2]);
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if (SimReadFramePixel(buffer, size, x, y) != SimFramePixel(x, y, topLeft[2])) ++wrongPixels;
        return S_OK;
    }

    size_t Count() {
        std::lock_guard lock(m_mutex);
        return frames.size();
    }

    platform::Size size;
    std::vector<std::thread::id> threads;
    std::vector<long> lengths;
    std::vector<uint32_t> frames;
    int wrongPixels = 0;
    int samples = 0;
    int nullSamples = 0;

private:
    std::mutex m_mutex;
};

class SimMediaGrabberTest : public SimMediaTest {
protected:
    // Camera -> grabber (RGB24 asked for) -> renderer, the camera set to `size` first.
    void Build(platform::Size size) {
        SimCamera& cam = Media().AddCamera(L"Cam", {{352, 288}, size});
        cam.rgb24 = false;  // the grabber's converter makes RGB24 of it
        graph = Graph();
        camera = Camera(L"Cam");
        grabberFilter = Filter(CLSID_SampleGrabber);
        renderer = Filter(CLSID_VideoRenderer);
        ASSERT_EQ(grabberFilter.As(grabber), S_OK);
        ComPtr<IAMStreamConfig> config;
        ASSERT_EQ(Out(camera).As(config), S_OK);
        ASSERT_EQ(config->SetFormat(Types(Out(camera))[1]), S_OK);
        AM_MEDIA_TYPE rgb;
        rgb.majortype = MEDIATYPE_Video;
        rgb.subtype = MEDIASUBTYPE_RGB24;
        ASSERT_EQ(grabber->SetMediaType(rgb), S_OK);
        ASSERT_EQ(graph->AddFilter(camera.Get(), L"Cap"), S_OK);
        ASSERT_EQ(graph->AddFilter(grabberFilter.Get(), L"Grabber"), S_OK);
        ASSERT_EQ(graph->AddFilter(renderer.Get(), L"Video Renderer"), S_OK);
        AM_MEDIA_TYPE connected;
        EXPECT_EQ(grabber->GetConnectedMediaType(connected), VFW_E_NOT_CONNECTED);
        ASSERT_EQ(graph->Connect(Out(camera).Get(), In(grabberFilter).Get()), S_OK);
        ASSERT_EQ(graph->Connect(Out(grabberFilter).Get(), In(renderer).Get()), S_OK);
        control = As<IMediaControl>(graph);
        callback.size = size;
        ASSERT_EQ(grabber->SetCallback(&callback, 1), S_OK);
    }

    CheckingCallback callback;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> camera, grabberFilter, renderer;
    ComPtr<ISampleGrabber> grabber;
    ComPtr<IMediaControl> control;
};

}  // namespace

TEST(SimFrameTest, FramesAreBottomUpBgrWithZeroPaddedRows) {
    std::vector<uint8_t> bytes;
    SimFillFrame(bytes, {5, 3}, 258);
    ASSERT_EQ(bytes.size(), 16u * 3u);  // 15 bytes of pixels, padded to 16
    // The first row in memory is the bottom row (y = 2).
    EXPECT_EQ(bytes[0], 0);     // B: x
    EXPECT_EQ(bytes[1], 2);     // G: y
    EXPECT_EQ(bytes[2], 2);     // R: frame 258 & 0xFF
    EXPECT_EQ(bytes[3 * 4], 4);  // x = 4 of that row
    EXPECT_EQ(bytes[15], 0);    // padding
    EXPECT_EQ(bytes[2 * 16 + 1], 0);  // top row last in memory: y = 0
    EXPECT_EQ(bytes[2 * 16 + 3], 1);
    EXPECT_EQ(bytes[47], 0);
    EXPECT_EQ(SimReadFramePixel(bytes.data(), {5, 3}, 4, 0), SimFramePixel(4, 0, 2));
    EXPECT_EQ(SimFramePixel(300, 513, 7), (SimBgr{44, 1, 7}));
}

TEST_F(SimMediaGrabberTest, ConnectedTypeIsRgb24OfTheCamerasFormat) {
    Build({161, 121});
    AM_MEDIA_TYPE connected;
    ASSERT_EQ(grabber->GetConnectedMediaType(connected), S_OK);
    EXPECT_EQ(connected.majortype, MEDIATYPE_Video);
    EXPECT_EQ(connected.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(connected.formattype, FORMAT_VideoInfo);
    const auto vih = ReadVideoInfo(connected);
    ASSERT_TRUE(vih);
    EXPECT_EQ(vih->bmiHeader.biWidth, 161);
    EXPECT_EQ(vih->bmiHeader.biHeight, 121);
    EXPECT_EQ(vih->bmiHeader.biBitCount, 24);
    EXPECT_EQ(vih->bmiHeader.biSizeImage, 484u * 121u);
    Media().Fail("GetConnectedMediaType", E_OUTOFMEMORY);
    EXPECT_EQ(grabber->GetConnectedMediaType(connected), E_OUTOFMEMORY);
}

TEST_F(SimMediaGrabberTest, FramesFlowOnlyWhileRunningWithNumbersAndPixelsInOrder) {
    Build({161, 121});
    EXPECT_EQ(Media().DeliverFrames(3), 0);  // stopped
    ASSERT_EQ(control->Run(), S_OK);
    const uint32_t first = Media().NextFrameNumber();
    EXPECT_EQ(Media().DeliverFrames(3), 3);
    EXPECT_EQ(callback.frames, (std::vector<uint32_t>{first & 0xFF, (first + 1) & 0xFF, (first + 2) & 0xFF}));
    EXPECT_EQ(callback.lengths, (std::vector<long>(3, 484 * 121)));
    EXPECT_EQ(callback.wrongPixels, 0);
    EXPECT_EQ(callback.threads.front(), std::this_thread::get_id());

    ASSERT_EQ(grabber->SetCallback(&callback, 0), S_OK);
    EXPECT_EQ(Media().DeliverFrames(2), 2);
    EXPECT_EQ(callback.samples, 2);
    EXPECT_EQ(callback.nullSamples, 2);
    EXPECT_EQ(grabber->SetCallback(&callback, 2), E_INVALIDARG);

    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(Media().DeliverFrames(2), 0);
    EXPECT_EQ(callback.frames.size(), 3u);
}

TEST_F(SimMediaGrabberTest, FrameThreadDeliversOnAnotherThreadAndStopJoinsIt) {
    Build({33, 17});
    EXPECT_FALSE(Media().DeliverFramesOnThread(5));  // not running
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(Media().DeliverFramesOnThread(5, std::chrono::milliseconds(0)));
    Media().JoinFrameThreads();
    ASSERT_EQ(callback.Count(), 5u);
    EXPECT_NE(callback.threads[0], std::this_thread::get_id());
    EXPECT_EQ(callback.wrongPixels, 0);

    // A long run cut short by Stop: once Stop returns no callback runs any more.
    ASSERT_TRUE(Media().DeliverFramesOnThread(100000, std::chrono::milliseconds(1)));
    while (callback.Count() < 7) std::this_thread::yield();
    ASSERT_EQ(control->Stop(), S_OK);
    const size_t afterStop = callback.Count();
    EXPECT_LT(afterStop, 100005u);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(callback.Count(), afterStop);
    EXPECT_EQ(callback.wrongPixels, 0);
}

TEST_F(SimMediaGrabberTest, ReleasingTheGraphJoinsItsFrameThread) {
    Build({16, 16});
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_TRUE(Media().DeliverFramesOnThread(100000, std::chrono::milliseconds(1)));
    while (callback.Count() < 2) std::this_thread::yield();
    control.Reset();
    graph.Reset();
    camera.Reset();
    grabberFilter.Reset();
    grabber.Reset();
    renderer.Reset();
    EXPECT_TRUE(Media().LastGraph()->IsReleased());
    const size_t afterRelease = callback.Count();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(callback.Count(), afterRelease);
}
