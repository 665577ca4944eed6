// Taking the graph down: stop it, detach the video window from the preview area, let go.
#include "TaviDlg.h"
#include "framework/Runtime.h"

namespace {

constexpr uint32_t kFirstStateWait = 50;
constexpr DWORD kStopPause = 500;
// A graph that never reports stopped is let go after this many stop requests (5 s): waiting
// longer would hang the window for good, and releasing the graph stops it anyway.
constexpr int kMaxStopRequests = 10;

}  // namespace

void CTaviDlg::TearDownGraph() {
    if (!m_pGraph) return;

    ComPtr<IMediaControl> control;
    (void)m_pGraph.As(control);
    if (control) {
        FILTER_STATE state = State_Stopped;
        (void)control->GetState(kFirstStateWait, state);
        for (int requests = 0; state != State_Stopped && requests < kMaxStopRequests; ++requests) {
            (void)control->Stop();
            ::Sleep(kStopPause);
            (void)control->GetState(INFINITE, state);
        }
        control.Reset();
    }

    ComPtr<IVideoWindow> videoWindow;
    (void)m_pGraph.As(videoWindow);
    if (videoWindow) {
        (void)videoWindow->put_Visible(false);
        (void)videoWindow->put_Owner(platform::WindowHandle{});
    }

    ComPtr<IGraphBuilder> graph = std::exchange(m_pGraph, nullptr);
    ComPtr<ISampleGrabber> grabber = std::exchange(m_pGrabber, nullptr);
    ComPtr<IVideoEffectControl> effect = std::exchange(m_pEffect, nullptr);
    graph.Reset();
    grabber.Reset();
    effect.Reset();
    videoWindow.Reset();
}
