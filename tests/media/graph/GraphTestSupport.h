// The world the graph tests run in: test devices and the effect plugin in a temporary folder,
// a private GStreamer registry, and one media object (with a UI host when there is a display).
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/media/Media.h"

namespace platform {
class GtkUiHost;
}

namespace graphtest {

// Device names the test folder declares.
inline const std::wstring kCamera = L"Graph Camera";
inline const std::wstring kMicrophone = L"Graph Microphone";
// A camera that offers only 720 x 480, as DV and many analogue grabbers do.
inline const std::wstring kDvCamera = L"Graph DV Camera";
// A camera and a microphone that mark each whole second: a white frame, a short tone.
inline const std::wstring kSyncCamera = L"Graph Sync Camera";
inline const std::wstring kSyncMicrophone = L"Graph Sync Microphone";

struct Environment {
    std::string folder;         // removed at the end
    bool effectRegistered = false;
    platform::GtkUiHost* ui = nullptr;  // nullptr without a display
    platform::IMedia* media = nullptr;
};
Environment& Env();
platform::IMedia& Media();

template <class T>
ComPtr<T> Create(const CLSID& clsid) {
    ComPtr<T> out;
    (void)platform::CreateInstance(Media(), clsid, out);
    return out;
}

// The filter of the entry of the category with that friendly name, or nullptr.
ComPtr<IBaseFilter> BindByName(const GUID& category, const std::wstring& name);
// Pin n (from 0) of that direction.
ComPtr<IPin> GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n);
// Sets the camera's output size through its stream configuration.
HRESULT SetCameraSize(IBaseFilter* camera, int width, int height);

// Takes frames from the grabber's buffer callback.
class FrameCatcher final : public ISampleGrabberCB {
public:
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    uint32_t AddRef() override { return 2; }
    uint32_t Release() override { return 1; }
    HRESULT SampleCB(double, IMediaSample* sample) override;
    HRESULT BufferCB(double, uint8_t* buffer, long length) override;

    // Waits (for real) for a frame; false after the time-out.
    bool WaitFrame(int timeoutMs, std::vector<uint8_t>& frame);
    int SampleCalls() const { return m_samples; }
    int BufferCalls() const { return m_buffers; }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<uint8_t> m_last;
    std::atomic<int> m_samples{0};
    std::atomic<int> m_buffers{0};
};

// What ffprobe says about a file: one map of keys per stream, and the format's keys.
struct Probe {
    bool ok = false;
    std::vector<std::map<std::string, std::string>> streams;
    std::map<std::string, std::string> format;
};
Probe RunFfprobe(const std::string& path);
double Number(const std::map<std::string, std::string>& keys, const std::string& key);

// Runs the default main context for that long (gtksink draws from it).
void PumpFor(int ms);
// Milliseconds since some fixed point.
int64_t NowMs();

std::string TempPath(const std::string& name);

}  // namespace graphtest

namespace graphtest {

// The preview graph as the program builds it: "Cap" → "Video Effect" (when the effect is
// registered and wanted) → "Smart Tee1" preview → "Grabber" → "Video Renderer".
struct PreviewGraph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> camera;
    ComPtr<IBaseFilter> effect;
    ComPtr<IBaseFilter> tee;
    ComPtr<IBaseFilter> grabberFilter;
    ComPtr<ISampleGrabber> grabber;
    ComPtr<IBaseFilter> renderer;
};
// Fails the calling test (and returns false) when a step fails.
[[nodiscard]] bool BuildPreview(PreviewGraph& preview, int width, int height, bool withEffect,
                                const std::wstring& camera = kCamera);
// Stop, then wait for the stopped state.
void StopGraph(IMediaControl* control);

}  // namespace graphtest
