// The filter graph: filters by name, connections by the graph's rules, run state on the virtual
// clock and the video window, all written into the graph's record as they happen.
//
// Rules kept from real graphs, because programs that break them fail on a real machine:
// pins join only while the graph is stopped, one peer per pin, output to input, inside one graph;
// a direct connection needs a type the input takes as it is, an intelligent one may convert
// within the major type; an output of a pass-through filter offers nothing before its input is
// joined; the video window exists only while a renderer is connected; a request that has not
// settled yet answers S_FALSE. A stop that never settles keeps reporting the old state.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/ComObject.h"
#include "SimGraphFrameThread.h"
#include "SimGraphRecord.h"
#include "SimMediaContext.h"
#include "platform/media/Graph.h"

namespace platform::sim {

// Codes of the graph's rules that the program never names.
inline constexpr HRESULT VFW_E_INVALID_DIRECTION = static_cast<HRESULT>(0x80040208u);
inline constexpr HRESULT VFW_E_NOT_IN_GRAPH = static_cast<HRESULT>(0x8004025Fu);

// How far GetState(INFINITE) moves the clock before it gives up on a stop that never settles.
inline constexpr uint32_t kSimUnsettledWaitMs = 10000;

class SimGraph final : public ComObject<IGraphBuilder, IMediaControl, IVideoWindow, IMediaEventEx> {
public:
    explicit SimGraph(std::shared_ptr<SimMediaContext> context);
    ~SimGraph() override;

    // IGraphBuilder
    HRESULT AddFilter(IBaseFilter* filter, const std::wstring& name) override;
    HRESULT RemoveFilter(IBaseFilter* filter) override;
    HRESULT FindFilterByName(const std::wstring& name, ComPtr<IBaseFilter>& filter) override;
    HRESULT ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) override;
    HRESULT Connect(IPin* out, IPin* in) override;

    // IMediaControl
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(uint32_t timeoutMs, FILTER_STATE& state) override;

    // IMediaEventEx
    HRESULT SetNotifyCallback(std::function<void()> notify) override;
    // A failure while running, as a device that goes or a file that cannot be written gives:
    // GetState answers E_FAIL until the graph is stopped, and the callback is told.
    void FailWhileRunning();

    // IVideoWindow: only with a connected renderer in the graph
    HRESULT put_Owner(WindowHandle owner) override;
    HRESULT put_Left(int32_t left) override;
    HRESULT put_Top(int32_t top) override;
    HRESULT put_Width(int32_t width) override;
    HRESULT put_Height(int32_t height) override;
    HRESULT put_WindowStyle(int32_t style) override;
    HRESULT put_Visible(bool visible) override;
    HRESULT put_WindowState(int32_t state) override;
    HRESULT put_FullScreenMode(bool on) override;
    HRESULT put_MessageDrain(WindowHandle drain) override;

    // Joins two pins of this graph; `type` only for a direct connection. The capture graph
    // builder renders through here too.
    HRESULT Join(SimPin& out, SimPin& in, SimConnection::How how, const AM_MEDIA_TYPE* type);

    SimGraphRecord& Record() { return *m_record; }
    // The state on the virtual clock now.
    FILTER_STATE State() const;
    // No run or pause is requested (a stop that never settles counts as stopped here).
    bool IsStopped() const { return m_target == State_Stopped; }
    void Event(std::string line);

    // Frames: synchronously here, or on a thread of the graph that Stop and release join.
    int DeliverFrames(int frames);
    bool StartFrameThread(int frames, std::chrono::milliseconds interval);
    void JoinFrameThread();
    void StopFrameThread() { m_frames.reset(); }

private:
    void* FindInterface(REFIID iid) override;
    HRESULT ChangeState(FILTER_STATE target, const char* operation);
    std::function<void()> m_notify;
    bool m_failed = false;
    // A stop requested while the switch was on stays unsettled until the test turns it off.
    bool NeverSettles() const { return m_neverSettles && m_context->stopNeverSettles; }
    std::vector<SimGraphFrameThread::Target> FrameTargets() const;
    HRESULT WindowAvailable() const;
    HRESULT PutWindow(const char* property, int64_t value, void (*apply)(SimVideoWindowState&, int64_t));
    std::string Describe(const SimPin& out, const SimPin& in, SimConnection::How how) const;

    std::shared_ptr<SimMediaContext> m_context;
    std::shared_ptr<SimGraphRecord> m_record;
    FILTER_STATE m_from = State_Stopped;    // settled before the last request
    FILTER_STATE m_target = State_Stopped;  // asked for by the last request
    uint64_t m_settleAt = 0;
    bool m_neverSettles = false;
    std::unique_ptr<SimGraphFrameThread> m_frames;
};

}  // namespace platform::sim
