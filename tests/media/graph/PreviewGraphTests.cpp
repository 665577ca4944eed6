// The preview graph on the test camera: sizes known before running, the running state, frames
// at the grabber bottom-up with the camera's picture, the effect acting on them, the video
// window inside its owner.
#include <gtest/gtest.h>
#include <gst/base/gstbasetransform.h>
#include <gtk/gtk.h>

#include <string_view>

#include "GraphTestSupport.h"
#include "GstFilter.h"
#include "GstGraph.h"
#include "GtkUiHost.h"
#include "SampleGrabberFilter.h"
#include "VideoRendererFilter.h"

using namespace graphtest;

namespace {

struct Bgr {
    int b, g, r;
};

Bgr PixelAt(const std::vector<uint8_t>& dib, int width, int x, int rowFromBottom) {
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    const uint8_t* p = dib.data() + size_t(rowFromBottom) * stride + size_t(x) * 3;
    return {p[0], p[1], p[2]};
}

// 75 % colour bars: each channel either clearly on or clearly off.
std::string Bar(Bgr p) {
    auto level = [](int v) { return v > 150 ? '1' : v < 40 ? '0' : '?'; };
    return {level(p.r), level(p.g), level(p.b)};
}

// Records the input the UI host hands on.
class InputLog final : public platform::IUiEvents {
public:
    void OnPaint(platform::WindowHandle, platform::Surface&) override {}
    void OnMouseDown(platform::WindowHandle, platform::MouseButton, platform::Point, bool) override {}
    void OnMouseUp(platform::WindowHandle, platform::MouseButton, platform::Point) override {}
    void OnMouseMove(platform::WindowHandle window, platform::Point point) override {
        moveWindow = window;
        move = point;
    }
    void OnMouseLeave(platform::WindowHandle) override {}
    bool OnKeyDown(platform::WindowHandle window, int key) override {
        keyWindow = window;
        this->key = key;
        return true;
    }
    void OnControlNotify(platform::WindowHandle, platform::ControlNotify) override {}
    void OnSysCommand(platform::WindowHandle, platform::SysCommand) override {}
    void OnMoving(platform::WindowHandle, platform::Rect&) override {}
    void OnMoved(platform::WindowHandle) override {}
    void OnTimer(platform::WindowHandle, uintptr_t) override {}
    void OnWake() override {}

    platform::WindowHandle moveWindow;
    platform::Point move{-1, -1};
    platform::WindowHandle keyWindow;
    int key = 0;
};

void SendMotion(GtkWidget* widget, double x, double y) {
    GdkEvent* event = gdk_event_new(GDK_MOTION_NOTIFY);
    event->motion.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->motion.x = x;
    event->motion.y = y;
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_widget_event(widget, event);
    gdk_event_free(event);
}

void SendKey(GtkWidget* widget, guint keyval) {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->key.keyval = keyval;
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_widget_event(widget, event);
    gdk_event_free(event);
}

// A callback that wants a frame only while a request is armed, and takes one frame per request.
class RequestCatcher final : public ISampleGrabberCB {
public:
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    uint32_t AddRef() override { return 2; }
    uint32_t Release() override { return 1; }
    HRESULT SampleCB(double, IMediaSample*) override { return S_OK; }
    bool WantsBuffer() override {
        ++asked;
        return armed.load();
    }
    HRESULT BufferCB(double, uint8_t*, long) override {
        if (armed.exchange(false)) ++taken;
        return S_OK;
    }

    std::atomic<bool> armed{false};
    std::atomic<int> asked{0};
    std::atomic<int> taken{0};
};

// The video converters and effect filters of the pipeline that change frames rather than pass
// them through.
int ConvertingElements(GstElement* pipeline) {
    int converting = 0;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        GstElementFactory* factory = gst_element_get_factory(element);
        const std::string_view name = factory ? GST_OBJECT_NAME(factory) : "";
        if ((name == "videoconvert" || name == "videoeffect") &&
            !gst_base_transform_is_passthrough(GST_BASE_TRANSFORM(element)))
            ++converting;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return converting;
}

class PreviewGraph_ : public testing::Test {
protected:
    void TearDown() override {
        if (m_preview.control) StopGraph(m_preview.control.Get());
    }
    PreviewGraph m_preview;
    FrameCatcher m_catcher;
};

TEST_F(PreviewGraph_, GrabberKnowsTheCameraSizeBeforeRunningAndKeepsItWhileRunning) {
    ASSERT_TRUE(BuildPreview(m_preview, 352, 288, Env().effectRegistered));
    AM_MEDIA_TYPE type;
    ASSERT_EQ(m_preview.grabber->GetConnectedMediaType(type), S_OK);
    auto vih = ReadVideoInfo(type);
    ASSERT_TRUE(vih);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(vih->bmiHeader.biWidth, 352);
    EXPECT_EQ(vih->bmiHeader.biHeight, 288);
    EXPECT_EQ(vih->bmiHeader.biBitCount, 24);

    ASSERT_GE(m_preview.control->Run(), 0);
    // Straight after Run the change may still be under way; either way the state is the target.
    FILTER_STATE state = State_Stopped;
    HRESULT hr = m_preview.control->GetState(0, state);
    EXPECT_TRUE(hr == S_OK || hr == VFW_S_STATE_INTERMEDIATE) << hr;
    EXPECT_EQ(state, State_Running);
    ASSERT_EQ(m_preview.control->GetState(INFINITE, state), S_OK);
    EXPECT_EQ(state, State_Running);
    ASSERT_EQ(m_preview.grabber->GetConnectedMediaType(type), S_OK);
    EXPECT_EQ(ReadVideoInfo(type)->bmiHeader.biWidth, 352);
}

TEST_F(PreviewGraph_, FramesReachTheCallbackBottomUpWithTheColourBarsOnTop) {
    ASSERT_TRUE(BuildPreview(m_preview, 640, 480, false));
    ASSERT_EQ(m_preview.grabber->SetCallback(&m_catcher, 1), S_OK);
    ASSERT_GE(m_preview.control->Run(), 0);
    std::vector<uint8_t> frame;
    ASSERT_TRUE(m_catcher.WaitFrame(5000, frame));
    ASSERT_EQ(frame.size(), size_t(640 * 3) * 480);
    // The last rows of the buffer are the top of the picture: the bars, left to right.
    const int top = 479 - 10;
    std::string bars;
    for (int i = 0; i < 7; ++i) bars += Bar(PixelAt(frame, 640, 640 * (2 * i + 1) / 14, top)) + " ";
    EXPECT_EQ(bars, "111 110 011 010 101 100 001 ");
    // The first rows are the bottom: the SMPTE pattern's lower band starts dark, not white.
    EXPECT_NE(Bar(PixelAt(frame, 640, 20, 5)), "111");
    EXPECT_EQ(m_catcher.SampleCalls(), 0);
}

TEST_F(PreviewGraph_, SampleCallbackIsCalledWithoutABuffer) {
    ASSERT_TRUE(BuildPreview(m_preview, 352, 288, false));
    ASSERT_EQ(m_preview.grabber->SetCallback(&m_catcher, 0), S_OK);
    ASSERT_GE(m_preview.control->Run(), 0);
    int64_t deadline = NowMs() + 5000;
    while (m_catcher.SampleCalls() < 3 && NowMs() < deadline) PumpFor(20);
    EXPECT_GE(m_catcher.SampleCalls(), 3);
    EXPECT_EQ(m_catcher.BufferCalls(), 0);
}

TEST_F(PreviewGraph_, OneShotDeliversOneFrameAndBufferedSamplesKeepTheLast) {
    ASSERT_TRUE(BuildPreview(m_preview, 352, 288, false));
    ASSERT_EQ(m_preview.grabber->SetCallback(&m_catcher, 1), S_OK);
    ASSERT_EQ(m_preview.grabber->SetOneShot(true), S_OK);
    ASSERT_EQ(m_preview.grabber->SetBufferSamples(true), S_OK);
    ASSERT_GE(m_preview.control->Run(), 0);
    FILTER_STATE state;
    ASSERT_EQ(m_preview.control->GetState(INFINITE, state), S_OK);
    PumpFor(400);  // about a dozen frames
    EXPECT_EQ(m_catcher.BufferCalls(), 1);
    auto* grabber = dynamic_cast<platform::gst::SampleGrabberFilter*>(platform::gst::AsGstFilter(m_preview.grabberFilter.Get()));
    ASSERT_NE(grabber, nullptr);
    EXPECT_EQ(grabber->BufferedSample().size(), size_t(352 * 3) * 288);
}

TEST_F(PreviewGraph_, FramesNobodyAskedForAreNotMadeAndARequestGetsOne) {
    ASSERT_TRUE(BuildPreview(m_preview, 640, 480, Env().effectRegistered));
    RequestCatcher catcher;
    ASSERT_EQ(m_preview.grabber->SetCallback(&catcher, 1), S_OK);
    auto* grabber = dynamic_cast<platform::gst::SampleGrabberFilter*>(platform::gst::AsGstFilter(m_preview.grabberFilter.Get()));
    ASSERT_NE(grabber, nullptr);
    ASSERT_GE(m_preview.control->Run(), 0);
    FILTER_STATE state;
    ASSERT_EQ(m_preview.control->GetState(INFINITE, state), S_OK);
    PumpFor(300);
    ASSERT_GT(catcher.asked.load(), 3) << "frames flowed";
    EXPECT_EQ(grabber->FramesMade(), 0u);
    EXPECT_EQ(catcher.taken.load(), 0);

    for (int request = 1; request <= 2; ++request) {
        catcher.armed = true;
        const int64_t deadline = NowMs() + 5000;
        while (catcher.taken.load() < request && NowMs() < deadline) PumpFor(10);
        PumpFor(200);
        EXPECT_EQ(catcher.taken.load(), request);
        EXPECT_EQ(grabber->FramesMade(), uint32_t(request)) << "one request, one frame made";
    }
}

// The frames pass the grabber in the format they come in and the effect filter untouched while no
// effect is set: from the camera's YUY2 to what the renderer draws is one conversion, as in a
// bare videoconvert ! gtksink pipeline.
TEST_F(PreviewGraph_, TheCamerasFramesAreConvertedOnceOnTheirWayToTheRenderer) {
    struct Case {
        int width;
        int height;
        bool effect;
    };
    for (const Case c : {Case{640, 480, true}, Case{352, 288, true}, Case{640, 480, false}}) {
        if (c.effect && !Env().effectRegistered) continue;
        PreviewGraph preview;
        ASSERT_TRUE(BuildPreview(preview, c.width, c.height, c.effect));
        RequestCatcher catcher;
        ASSERT_EQ(preview.grabber->SetCallback(&catcher, 1), S_OK);
        ASSERT_GE(preview.control->Run(), 0);
        FILTER_STATE state;
        ASSERT_EQ(preview.control->GetState(INFINITE, state), S_OK);
        const int64_t deadline = NowMs() + 5000;
        while (catcher.asked.load() < 3 && NowMs() < deadline) PumpFor(10);
        EXPECT_EQ(ConvertingElements(platform::gst::AsGstFilter(preview.grabberFilter.Get())->Graph()->Pipeline()), 1)
            << c.width << " x " << c.height << (c.effect ? " with" : " without") << " the effect";
        StopGraph(preview.control.Get());
    }
}

TEST_F(PreviewGraph_, BlackAndWhiteEffectMakesTheBarsGrey) {
    if (!Env().effectRegistered) GTEST_SKIP() << "effect plugin not registered";
    ASSERT_TRUE(BuildPreview(m_preview, 352, 288, true));
    ComPtr<IVideoEffectControl> effect;
    ASSERT_EQ(m_preview.effect.As(effect), S_OK);
    ASSERT_EQ(m_preview.grabber->SetCallback(&m_catcher, 1), S_OK);
    ASSERT_GE(m_preview.control->Run(), 0);
    std::vector<uint8_t> frame;
    ASSERT_TRUE(m_catcher.WaitFrame(5000, frame));
    Bgr yellow = PixelAt(frame, 352, 352 * 3 / 14, 287 - 5);
    EXPECT_EQ(Bar(yellow), "110");

    EXPECT_EQ(effect->SetEffect(1, 1, 1, 1), S_OK);
    PumpFor(200);  // frames already on their way were made before the change
    ASSERT_TRUE(m_catcher.WaitFrame(5000, frame));
    Bgr grey = PixelAt(frame, 352, 352 * 3 / 14, 287 - 5);
    EXPECT_NEAR(grey.r, grey.g, 3);
    EXPECT_NEAR(grey.g, grey.b, 3);
    EXPECT_GT(grey.r, 100);  // yellow is a light grey, not black
}

TEST_F(PreviewGraph_, VideoWindowSitsInItsOwnerAndLeavesWithIt) {
    platform::GtkUiHost* ui = Env().ui;
    if (!ui) GTEST_SKIP() << "no display";
    ASSERT_TRUE(BuildPreview(m_preview, 352, 288, false));
    // A top-level window with a picture area, as the main window has.
    platform::CreateParams params;
    params.kind = platform::WindowKind::TopLevel;
    params.rect = platform::Rect::FromXYWH(10, 10, 500, 400);
    params.visible = true;
    const platform::WindowHandle main{0x7000};
    ASSERT_TRUE(ui->CreateWindow(main, params));
    params.kind = platform::WindowKind::Canvas;
    params.parent = main;
    params.rect = platform::Rect::FromXYWH(20, 30, 360, 300);
    const platform::WindowHandle owner{0x7001};
    ASSERT_TRUE(ui->CreateWindow(owner, params));
    ComPtr<IVideoWindow> window;
    ASSERT_EQ(m_preview.graph.As(window), S_OK);
    auto* renderer = dynamic_cast<platform::gst::VideoRendererFilter*>(platform::gst::AsGstFilter(m_preview.renderer.Get()));
    ASSERT_NE(renderer, nullptr);
    GtkWidget* video = renderer->Widget();
    ASSERT_NE(video, nullptr);

    EXPECT_EQ(window->put_Owner(owner), S_OK);
    EXPECT_EQ(window->put_Left(4), S_OK);
    EXPECT_EQ(window->put_Top(6), S_OK);
    EXPECT_EQ(window->put_Width(320), S_OK);
    EXPECT_EQ(window->put_Height(240), S_OK);
    EXPECT_EQ(window->put_Visible(true), S_OK);
    EXPECT_EQ(gtk_widget_get_parent(video), ui->NativeContainer(owner));
    int w = 0;
    int h = 0;
    gtk_widget_get_size_request(video, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_TRUE(gtk_widget_get_visible(video));
    ASSERT_GE(m_preview.control->Run(), 0);
    FILTER_STATE state = State_Stopped;
    ASSERT_EQ(m_preview.control->GetState(INFINITE, state), S_OK);
    PumpFor(300);
    GtkAllocation allocation;
    gtk_widget_get_allocation(video, &allocation);
    EXPECT_EQ(allocation.x, 4);
    EXPECT_EQ(allocation.y, 6);
    EXPECT_EQ(allocation.width, 320);

    // Input on the picture goes to the drain window, in its client coordinates.
    InputLog log;
    ui->SetEventSink(&log);
    EXPECT_EQ(window->put_MessageDrain(main), S_OK);
    SendMotion(video, 5, 7);
    SendKey(video, GDK_KEY_Escape);
    ui->SetEventSink(nullptr);
    EXPECT_EQ(log.moveWindow, main);
    EXPECT_EQ(log.move, (platform::Point{20 + 4 + 5, 30 + 6 + 7}));
    EXPECT_EQ(log.keyWindow, main);
    EXPECT_EQ(log.key, 27);

    EXPECT_EQ(window->put_WindowState(SW_HIDE_STATE), S_OK);
    EXPECT_FALSE(gtk_widget_get_visible(video));
    EXPECT_EQ(window->put_FullScreenMode(true), S_OK);
    EXPECT_NE(gtk_widget_get_parent(video), ui->NativeContainer(owner));
    EXPECT_EQ(window->put_FullScreenMode(false), S_OK);
    EXPECT_EQ(gtk_widget_get_parent(video), ui->NativeContainer(owner));
    EXPECT_EQ(window->put_Owner(platform::WindowHandle{}), S_OK);
    EXPECT_NE(gtk_widget_get_parent(video), ui->NativeContainer(owner));
    StopGraph(m_preview.control.Get());
    m_preview.control.Reset();
    ui->DestroyWindow(owner);
    ui->DestroyWindow(main);
}

}  // namespace
