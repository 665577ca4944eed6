#include "GstMedia.h"

#include <gst/gst.h>

#include <cstdio>
#include <mutex>

#include "AsfWriterFilter.h"
#include "CaptureGraphBuilder.h"
#include "DeviceEnumerator.h"
#include "DeviceMonitor.h"
#include "GstGraph.h"
#include "PropertyFrame.h"
#include "SampleGrabberFilter.h"
#include "SmartTeeFilter.h"
#include "VideoRendererFilter.h"
#include "WmProfile.h"

namespace platform::gst {
namespace {

bool InitGStreamer() {
    static bool ready = false;
    static std::once_flag once;
    std::call_once(once, [] {
        GErrorPtr error;
        ready = gst_init_check(nullptr, nullptr, OutPtr(error));
        if (!ready) std::fprintf(stderr, "vistrel: cannot start GStreamer: %s\n", error ? error->message : "?");
    });
    return ready;
}

// Hands the object out as the interface asked for; the local reference goes.
template <class T>
HRESULT HandOut(ComPtr<T> created, REFIID iid, void** object) {
    if (!created) return E_FAIL;  // a GStreamer element it needs is missing
    return created->QueryInterface(iid, object);
}

}  // namespace

GstMedia::GstMedia(GtkUiHost* ui) : m_ui(ui), m_ready(InitGStreamer()), m_monitor(std::make_unique<DeviceMonitor>()) {}

GstMedia::~GstMedia() = default;

HRESULT GstMedia::CreateInstance(const CLSID& clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!m_ready) return E_FAIL;
    if (clsid == CLSID_SystemDeviceEnum) return HandOut(CreateDeviceEnumerator(*m_monitor), iid, object);
    if (clsid == CLSID_FilterGraph) {
        auto graph = ComPtr<IGraphBuilder>::Adopt(new GstGraph(m_ui));
        return HandOut(std::move(graph), iid, object);
    }
    if (clsid == CLSID_CaptureGraphBuilder2) return HandOut(CreateCaptureGraphBuilder(), iid, object);
    if (clsid == CLSID_SmartTee) return HandOut(SmartTeeFilter::Create(), iid, object);
    if (clsid == CLSID_SampleGrabber) return HandOut(SampleGrabberFilter::Create(), iid, object);
    if (clsid == CLSID_VideoRenderer) return HandOut(VideoRendererFilter::Create(), iid, object);
    if (clsid == CLSID_WMAsfWriter) return HandOut(AsfWriterFilter::Create(), iid, object);
    return REGDB_E_CLASSNOTREG;
}

HRESULT GstMedia::CreateProfileManager(ComPtr<IWMProfileManager>& manager) {
    manager = MakeComObject<WmProfileManager>();
    return S_OK;
}

HRESULT GstMedia::ShowPropertyFrame(WindowHandle owner, int x, int y, const std::wstring& caption, IUnknown* object,
                                    const std::vector<GUID>&) {
    if (!object) return E_POINTER;
    return RunPropertyFrame(m_ui, owner, x, y, caption, object);
}

uint32_t GstMedia::RegisterDeviceNotification(const GUID& interfaceClass, std::function<void(const DeviceChange&)> handler) {
    if (!m_ready) return 0;
    return m_monitor->RegisterDeviceNotification(interfaceClass, std::move(handler));
}

void GstMedia::UnregisterDeviceNotification(uint32_t registration) {
    m_monitor->UnregisterDeviceNotification(registration);
}

}  // namespace platform::gst
