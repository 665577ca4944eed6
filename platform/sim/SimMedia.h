// The media services of the sim: fake devices a test plugs and unplugs, filters and graphs that
// record what the program does with them, failure switches (SimMediaFailures.h lists the keys),
// state changes on the virtual clock and frames whose pixels tell where they come from.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SimAsfWriter.h"
#include "SimClock.h"
#include "SimDevice.h"
#include "SimFilterCamera.h"
#include "SimFilterEffect.h"
#include "SimGrabber.h"
#include "SimGrabberFrame.h"
#include "SimGraphRecord.h"
#include "SimMediaContext.h"
#include "SimMediaTypes.h"
#include "platform/media/Media.h"

namespace platform::sim {

class SimMedia final : public IMedia {
public:
    explicit SimMedia(SimClock& clock);
    ~SimMedia() override;
    SimMedia(const SimMedia&) = delete;
    SimMedia& operator=(const SimMedia&) = delete;

    // --- IMedia ---
    HRESULT CreateInstance(const CLSID& clsid, REFIID iid, void** object) override;
    HRESULT CreateProfileManager(ComPtr<IWMProfileManager>& manager) override;
    HRESULT ShowPropertyFrame(WindowHandle owner, int x, int y, const std::wstring& caption, IUnknown* object,
                              const std::vector<GUID>& pages) override;
    uint32_t RegisterDeviceNotification(const GUID& interfaceClass,
                                        std::function<void(const DeviceChange&)> handler) override;
    void UnregisterDeviceNotification(uint32_t registration) override;

    // --- devices, listed in order of addition ---
    // Present at once, without a notification (the machine as the program finds it).
    SimCamera& AddCamera(std::wstring name, std::vector<Size> sizes = {{640, 480}});
    SimMicrophone& AddMicrophone(std::wstring name);
    // Plugged in while the program runs: added, then the handlers hear of the arrival.
    SimCamera& PlugCamera(std::wstring name, std::vector<Size> sizes = {{640, 480}});
    SimMicrophone& PlugMicrophone(std::wstring name);
    // The first present device of that name goes (or, for Replug, the first absent one comes
    // back in its old place); the handlers hear of it. False when there is no such device.
    bool Unplug(const std::wstring& name);
    bool Replug(const std::wstring& name);
    SimCamera* FindCamera(const std::wstring& name) const;
    SimMicrophone* FindMicrophone(const std::wstring& name) const;
    // Registered filters (legacy category) and audio compressors, in enumeration order; the
    // records may be changed (nameReadable, bindFails, present).
    const std::vector<std::shared_ptr<SimDevice>>& LegacyFilters() const { return m_context->legacyFilters; }
    const std::vector<std::shared_ptr<SimDevice>>& AudioCompressors() const { return m_context->audioCompressors; }
    // Whether "Video Effect Filter" is in the legacy category (not until the program registers it).
    void SetEffectFilterRegistered(bool registered) { m_context->effectFilter->present = registered; }
    bool EffectFilterRegistered() const { return m_context->effectFilter->present; }
    // Whether the effect filter answers IVideoEffectControl.
    void SetEffectControlAvailable(bool available) { m_context->effectControlAvailable = available; }

    // --- failure switches ---
    void Fail(std::string operation, HRESULT code = E_FAIL, int times = 1) {
        m_context->failures.Fail(std::move(operation), code, times);
    }
    void ClearFailures() { m_context->failures.Clear(); }
    int Attempts(const std::string& operation) const { return m_context->failures.Attempts(operation); }

    // --- graphs ---
    // Every graph made, the most recent last; released graphs stay, marked released.
    const std::vector<std::shared_ptr<SimGraphRecord>>& Graphs() const { return m_context->graphs; }
    SimGraphRecord* LastGraph() const { return m_context->graphs.empty() ? nullptr : m_context->graphs.back().get(); }
    int LiveGraphCount() const { return static_cast<int>(m_context->liveGraphs.size()); }
    // The graph of that record fails while it runs (see SimGraph::FailWhileRunning); false when
    // the graph is released.
    bool FailWhileRunning(const SimGraphRecord* record);
    // Every graph, filter and device operation in order: "AddFilter Cap",
    // "Connect Video Effect:0->Smart Tee1:0 intelligent", "Run", "GetState 50 Running", ...
    const std::vector<std::string>& Log() const { return m_context->log; }
    void ClearLog() { m_context->log.clear(); }
    // Run, Pause and Stop settle this long after the request (virtual milliseconds).
    void SetStateChangeDelay(uint32_t ms) { m_context->stateChangeDelayMs = ms; }
    // A stop requested while this is on does not settle until it is turned off.
    void SetStopNeverSettles(bool on) { m_context->stopNeverSettles = on; }

    // --- frames ---
    // Delivers frames to the grabbers of every running graph, on this thread. Returns the
    // number of callbacks made.
    int DeliverFrames(int frames);
    // Delivers them on a real thread of the most recent running graph with a connected grabber;
    // false when there is none. Stopping or releasing that graph joins the thread.
    bool DeliverFramesOnThread(int frames, std::chrono::milliseconds interval = std::chrono::milliseconds(1));
    // Waits until the frame threads have delivered all their frames.
    void JoinFrameThreads();
    // The number the next frame will carry.
    uint32_t NextFrameNumber() const { return m_context->nextFrame.load(); }

    // --- property frames and notifications ---
    const std::vector<SimPropertyFrame>& PropertyFrames() const { return m_context->propertyFrames; }
    int NotificationRegistrations() const { return static_cast<int>(m_registrations.size()); }

private:
    void Notify(DeviceChange::Kind kind, const SimDevice& device);

    struct Registration {
        GUID interfaceClass;
        std::function<void(const DeviceChange&)> handler;
    };

    std::shared_ptr<SimMediaContext> m_context;
    std::map<uint32_t, Registration> m_registrations;
    uint32_t m_nextRegistration = 1;
};

}  // namespace platform::sim
