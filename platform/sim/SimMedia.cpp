#include "SimMedia.h"

#include <algorithm>

#include "SimAsfProfile.h"
#include "SimDeviceEnum.h"
#include "SimFilterStock.h"
#include "SimGraph.h"
#include "SimGraphCaptureBuilder.h"
#include "SimMediaTypes.h"
#include "platform/Strings.h"

namespace platform::sim {

namespace {

std::shared_ptr<SimDevice> Registered(SimDevice::Kind kind, std::wstring name) {
    return std::make_shared<SimDevice>(kind, std::move(name));
}

// Hands out the interface asked for; the object goes again when it has none.
template <class T>
HRESULT HandOut(ComPtr<T> object, REFIID iid, void** out) {
    return object->QueryInterface(iid, out);
}

}  // namespace

SimMedia::SimMedia(SimClock& clock) : m_context(std::make_shared<SimMediaContext>(clock)) {
    using Kind = SimDevice::Kind;
    m_context->effectFilter = Registered(Kind::EffectFilter, L"Video Effect Filter");
    m_context->effectFilter->present = false;
    m_context->legacyFilters = {Registered(Kind::LegacyFilter, L"AVI Decompressor"),
                                Registered(Kind::LegacyFilter, L"Color Space Converter"), m_context->effectFilter,
                                Registered(Kind::LegacyFilter, L"Overlay Mixer"),
                                Registered(Kind::LegacyFilter, L"Infinite Pin Tee Filter")};
    m_context->audioCompressors = {Registered(Kind::AudioCompressor, L"CCITT A-Law"),
                                   Registered(Kind::AudioCompressor, L"GSM 6.10"),
                                   Registered(Kind::AudioCompressor, L"IMA ADPCM"),
                                   Registered(Kind::AudioCompressor, L"PCM"),
                                   Registered(Kind::AudioCompressor, L"MPEG Layer-3")};
}

SimMedia::~SimMedia() {
    for (SimGraph* graph : m_context->liveGraphs) graph->StopFrameThread();
    // Records keep their filters, and filters keep the context: drop the records to end the cycle.
    m_context->graphs.clear();
}

HRESULT SimMedia::CreateInstance(const CLSID& clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    static const std::pair<CLSID, const char*> kClasses[] = {
        {CLSID_SystemDeviceEnum, "SystemDeviceEnum"}, {CLSID_FilterGraph, "FilterGraph"},
        {CLSID_CaptureGraphBuilder2, "CaptureGraphBuilder2"}, {CLSID_SmartTee, "SmartTee"},
        {CLSID_SampleGrabber, "SampleGrabber"}, {CLSID_VideoRenderer, "VideoRenderer"},
        {CLSID_WMAsfWriter, "WMAsfWriter"}};
    const auto* known = std::find_if(std::begin(kClasses), std::end(kClasses),
                                     [&](const auto& entry) { return entry.first == clsid; });
    if (known == std::end(kClasses)) {
        m_context->Log("CreateInstance " + ToUtf8(GuidToString(clsid)) + " failed " + SimHex(REGDB_E_CLASSNOTREG));
        return REGDB_E_CLASSNOTREG;
    }
    const std::string name = known->second;
    const HRESULT hr = m_context->Check("CreateInstance:" + name);
    m_context->Log("CreateInstance " + name + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;

    if (name == "SystemDeviceEnum") return HandOut(MakeComObject<SimDeviceEnum>(m_context), iid, object);
    if (name == "FilterGraph") return HandOut(MakeComObject<SimGraph>(m_context), iid, object);
    if (name == "CaptureGraphBuilder2") return HandOut(MakeComObject<SimGraphCaptureBuilder>(m_context), iid, object);
    if (name == "SmartTee")
        return HandOut(MakeComObject<SimFilterStock>(m_context, SimFilterKind::SmartTee), iid, object);
    if (name == "SampleGrabber") return HandOut(MakeComObject<SimGrabber>(m_context), iid, object);
    if (name == "VideoRenderer")
        return HandOut(MakeComObject<SimFilterStock>(m_context, SimFilterKind::Renderer), iid, object);
    return HandOut(MakeComObject<SimAsfWriter>(m_context), iid, object);
}

HRESULT SimMedia::CreateProfileManager(ComPtr<IWMProfileManager>& manager) {
    manager.Reset();
    if (const HRESULT hr = m_context->Check("CreateProfileManager"); hr != S_OK) return hr;
    manager = MakeComObject<SimAsfProfileManager>(m_context);
    return S_OK;
}

HRESULT SimMedia::ShowPropertyFrame(WindowHandle owner, int x, int y, const std::wstring& caption, IUnknown* object,
                                    const std::vector<GUID>& pages) {
    const HRESULT hr = m_context->Check("ShowPropertyFrame");
    m_context->Log("ShowPropertyFrame " + ToUtf8(caption) + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;
    SimPropertyFrame frame{owner, x, y, caption, {}, pages};
    ComPtr<IBaseFilter> filter;
    if (object && SUCCEEDED(ComPtr<IUnknown>::Retain(object).As(filter)))
        (void)filter->QueryFilterInfo(frame.objectName);
    m_context->propertyFrames.push_back(std::move(frame));
    return S_OK;
}

uint32_t SimMedia::RegisterDeviceNotification(const GUID& interfaceClass,
                                              std::function<void(const DeviceChange&)> handler) {
    if (m_context->Check("RegisterDeviceNotification") != S_OK || !handler) return 0;
    const uint32_t id = m_nextRegistration++;
    m_registrations[id] = {interfaceClass, std::move(handler)};
    return id;
}

void SimMedia::UnregisterDeviceNotification(uint32_t registration) { m_registrations.erase(registration); }

void SimMedia::Notify(DeviceChange::Kind kind, const SimDevice& device) {
    m_context->Log(std::string(kind == DeviceChange::Kind::Arrival ? "DeviceArrival " : "DeviceRemoval ") +
                   ToUtf8(device.name));
    DeviceChange change{kind, GUID_NULL, device.name};
    if (device.kind == SimDevice::Kind::Camera) {
        if (!static_cast<const SimCamera&>(device).captureClass) return;
        change.interfaceClass = AM_KSCATEGORY_CAPTURE;
    } else {
        change.interfaceClass = CLSID_AudioInputDeviceCategory;
    }
    // A handler may register or unregister others: call only those still registered.
    std::vector<uint32_t> ids;
    for (const auto& [id, registration] : m_registrations)
        if (registration.interfaceClass == change.interfaceClass) ids.push_back(id);
    for (uint32_t id : ids) {
        auto it = m_registrations.find(id);
        if (it == m_registrations.end()) continue;
        auto handler = it->second.handler;  // the handler may unregister itself
        handler(change);
    }
}

SimCamera& SimMedia::AddCamera(std::wstring name, std::vector<Size> sizes) {
    return *m_context->cameras.emplace_back(std::make_shared<SimCamera>(std::move(name), std::move(sizes)));
}

SimMicrophone& SimMedia::AddMicrophone(std::wstring name) {
    return *m_context->microphones.emplace_back(std::make_shared<SimMicrophone>(std::move(name)));
}

SimCamera& SimMedia::PlugCamera(std::wstring name, std::vector<Size> sizes) {
    SimCamera& camera = AddCamera(std::move(name), std::move(sizes));
    Notify(DeviceChange::Kind::Arrival, camera);
    return camera;
}

SimMicrophone& SimMedia::PlugMicrophone(std::wstring name) {
    SimMicrophone& microphone = AddMicrophone(std::move(name));
    Notify(DeviceChange::Kind::Arrival, microphone);
    return microphone;
}

namespace {

template <class T>
T* FirstNamed(const std::vector<std::shared_ptr<T>>& devices, const std::wstring& name, bool present) {
    for (const auto& device : devices)
        if (device->name == name && device->present == present) return device.get();
    return nullptr;
}

}  // namespace

bool SimMedia::Unplug(const std::wstring& name) {
    SimDevice* device = FirstNamed(m_context->cameras, name, true);
    if (!device) device = FirstNamed(m_context->microphones, name, true);
    if (!device) return false;
    device->present = false;
    Notify(DeviceChange::Kind::RemoveComplete, *device);
    return true;
}

bool SimMedia::Replug(const std::wstring& name) {
    SimDevice* device = FirstNamed(m_context->cameras, name, false);
    if (!device) device = FirstNamed(m_context->microphones, name, false);
    if (!device) return false;
    device->present = true;
    Notify(DeviceChange::Kind::Arrival, *device);
    return true;
}

SimCamera* SimMedia::FindCamera(const std::wstring& name) const {
    for (const auto& camera : m_context->cameras)
        if (camera->name == name) return camera.get();
    return nullptr;
}

SimMicrophone* SimMedia::FindMicrophone(const std::wstring& name) const {
    for (const auto& microphone : m_context->microphones)
        if (microphone->name == name) return microphone.get();
    return nullptr;
}

int SimMedia::DeliverFrames(int frames) {
    int callbacks = 0;
    const std::vector<SimGraph*> graphs = m_context->liveGraphs;
    for (SimGraph* graph : graphs) callbacks += graph->DeliverFrames(frames);
    return callbacks;
}

bool SimMedia::DeliverFramesOnThread(int frames, std::chrono::milliseconds interval) {
    const auto& graphs = m_context->liveGraphs;
    for (auto it = graphs.rbegin(); it != graphs.rend(); ++it)
        if ((*it)->StartFrameThread(frames, interval)) return true;
    return false;
}

void SimMedia::JoinFrameThreads() {
    for (SimGraph* graph : m_context->liveGraphs) graph->JoinFrameThread();
}

bool SimMedia::FailWhileRunning(const SimGraphRecord* record) {
    for (SimGraph* graph : m_context->liveGraphs) {
        if (&graph->Record() != record) continue;
        graph->FailWhileRunning();
        return true;
    }
    return false;
}

}  // namespace platform::sim
