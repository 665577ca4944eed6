// The run state of a graph on the virtual clock, and the frames that flow while it runs.
#include "SimGraph.h"
#include "SimGrabber.h"
#include "SimMediaTypes.h"

namespace platform::sim {

namespace {

const char* StateName(FILTER_STATE state) {
    switch (state) {
    case State_Stopped: return "Stopped";
    case State_Paused: return "Paused";
    case State_Running: return "Running";
    }
    return "?";
}

}  // namespace

FILTER_STATE SimGraph::State() const {
    if (m_from == m_target || NeverSettles()) return m_from;
    return m_context->clock.Now() >= m_settleAt ? m_target : m_from;
}

HRESULT SimGraph::Run() { return ChangeState(State_Running, "Run"); }

HRESULT SimGraph::Pause() { return ChangeState(State_Paused, "Pause"); }

HRESULT SimGraph::Stop() {
    HRESULT hr = ChangeState(State_Stopped, "Stop");
    if (SUCCEEDED(hr)) m_failed = false;
    return hr;
}

HRESULT SimGraph::SetNotifyCallback(std::function<void()> notify) {
    m_notify = std::move(notify);
    return S_OK;
}

void SimGraph::FailWhileRunning() {
    m_failed = true;
    m_frames.reset();
    Event("failed while running");
    if (m_notify) m_notify();
}

HRESULT SimGraph::ChangeState(FILTER_STATE target, const char* operation) {
    const uint64_t now = m_context->clock.Now();
    HRESULT hr = m_context->Check(operation);
    if (hr == S_OK && target == State_Running) {
        for (const SimGraphFilter& entry : m_record->filters) {
            hr = entry.filter->OnRun();
            if (FAILED(hr)) break;
        }
    }
    m_record->stateChanges.push_back({target, hr, now});
    Event(std::string(operation) + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;

    // Only a running graph streams; pausing or stopping waits for the sample in delivery.
    if (target != State_Running) m_frames.reset();
    const FILTER_STATE current = State();
    m_from = current;
    m_target = target;
    m_neverSettles = target == State_Stopped && current != State_Stopped && m_context->stopNeverSettles;
    m_settleAt = now + m_context->stateChangeDelayMs;
    if (current == target || (!m_neverSettles && m_context->stateChangeDelayMs == 0)) {
        m_from = target;
        return S_OK;
    }
    return S_FALSE;  // the change is under way
}

HRESULT SimGraph::GetState(uint32_t timeoutMs, FILTER_STATE& state) {
    const std::string waited = timeoutMs == INFINITE ? "INFINITE" : std::to_string(timeoutMs);
    HRESULT hr = m_context->Check("GetState");
    if (hr != S_OK) {
        state = State();
        Event("GetState " + waited + " failed " + SimHex(hr));
        return hr;
    }
    if (m_failed) {
        state = State();
        Event("GetState " + waited + " failed after a failure while running");
        return E_FAIL;
    }
    SimClock& clock = m_context->clock;
    if (NeverSettles()) {
        if (timeoutMs == INFINITE) ++m_record->unsettledInfiniteWaits;
        clock.Sleep(timeoutMs == INFINITE ? kSimUnsettledWaitMs : timeoutMs);
        state = m_from;
        hr = VFW_S_STATE_INTERMEDIATE;
    } else if (m_from == m_target || clock.Now() >= m_settleAt) {
        m_from = m_target;
        state = m_target;
    } else {
        const uint64_t remaining = m_settleAt - clock.Now();
        if (timeoutMs == INFINITE || timeoutMs >= remaining) {
            clock.Sleep(static_cast<uint32_t>(remaining));
            m_from = m_target;
        } else {
            clock.Sleep(timeoutMs);
            hr = VFW_S_STATE_INTERMEDIATE;
        }
        state = m_target;
    }
    Event("GetState " + waited + " " + StateName(state) + (hr == VFW_S_STATE_INTERMEDIATE ? " intermediate" : ""));
    return hr;
}

std::vector<SimGraphFrameThread::Target> SimGraph::FrameTargets() const {
    std::vector<SimGraphFrameThread::Target> targets;
    if (State() != State_Running) return targets;
    for (const SimGraphFilter& entry : m_record->filters) {
        auto* grabber = dynamic_cast<SimGrabber*>(entry.filter.Get());
        if (!grabber) continue;
        if (auto size = grabber->FrameSize()) targets.push_back({ComPtr<SimGrabber>::Retain(grabber), *size});
    }
    return targets;
}

int SimGraph::DeliverFrames(int frames) {
    const auto targets = FrameTargets();
    if (targets.empty()) return 0;
    std::vector<uint8_t> scratch;
    int callbacks = 0;
    for (int i = 0; i < frames; ++i) {
        const uint32_t frame = m_context->nextFrame.fetch_add(1);
        for (const auto& target : targets) callbacks += target.grabber->Deliver(frame, target.size, scratch) ? 1 : 0;
    }
    return callbacks;
}

bool SimGraph::StartFrameThread(int frames, std::chrono::milliseconds interval) {
    JoinFrameThread();
    auto targets = FrameTargets();
    if (targets.empty()) return false;
    m_frames = std::make_unique<SimGraphFrameThread>(std::move(targets), frames, interval, m_context->nextFrame);
    return true;
}

void SimGraph::JoinFrameThread() {
    if (m_frames) m_frames->Join();
    m_frames.reset();
}

}  // namespace platform::sim
