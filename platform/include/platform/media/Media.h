// The media services as a whole: objects created by class, the profile manager, property
// frames and device-change notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Types.h"
#include "platform/Unknown.h"
#include "platform/media/AsfWriter.h"
#include "platform/media/Devices.h"
#include "platform/media/Filters.h"
#include "platform/media/Graph.h"
#include "platform/media/SampleGrabber.h"
#include "platform/media/VideoEffect.h"

// Classes that CreateInstance knows.
inline constexpr CLSID CLSID_SystemDeviceEnum{0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr CLSID CLSID_FilterGraph{0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr CLSID CLSID_CaptureGraphBuilder2{0xBF87B6E1, 0x8C27, 0x11D0, {0xB3, 0xF0, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5}};
inline constexpr CLSID CLSID_SmartTee{0xCC58E280, 0x8AA1, 0x11D1, {0xB3, 0xF1, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5}};
inline constexpr CLSID CLSID_SampleGrabber{0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
inline constexpr CLSID CLSID_VideoRenderer{0x70E102B0, 0x5556, 0x11CE, {0x97, 0xC0, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5F}};
inline constexpr CLSID CLSID_WMAsfWriter{0x7C23220E, 0x55BB, 0x11D3, {0x8B, 0x16, 0x00, 0xC0, 0x4F, 0xB6, 0xBD, 0x3D}};

inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);

namespace platform {

// A device interface came or went. Delivered on the UI thread.
struct DeviceChange {
    enum class Kind { Arrival, RemoveComplete };
    Kind kind = Kind::Arrival;
    GUID interfaceClass;  // AM_KSCATEGORY_CAPTURE for cameras, CLSID_AudioInputDeviceCategory for microphones
    std::wstring name;    // the device's friendly name
};

class IMedia {
public:
    virtual ~IMedia() = default;

    // CLSID_SystemDeviceEnum gives ICreateDevEnum, CLSID_FilterGraph IGraphBuilder (which also
    // answers IMediaControl and IVideoWindow), the others filters. REGDB_E_CLASSNOTREG for a
    // class this platform does not have.
    [[nodiscard]] virtual HRESULT CreateInstance(const CLSID& clsid, REFIID iid, void** object) = 0;
    [[nodiscard]] virtual HRESULT CreateProfileManager(ComPtr<IWMProfileManager>& manager) = 0;

    // Shows the object's property pages in a modal frame owned by `owner` at (x, y); returns
    // when the user closes it.
    [[nodiscard]] virtual HRESULT ShowPropertyFrame(WindowHandle owner, int x, int y, const std::wstring& caption,
                                      IUnknown* object, const std::vector<GUID>& pages) = 0;

    // Device arrivals and removals of one interface class go to the handler until the
    // registration is undone. Returns 0 when registration is not possible.
    virtual uint32_t RegisterDeviceNotification(const GUID& interfaceClass,
                                                std::function<void(const DeviceChange&)> handler) = 0;
    virtual void UnregisterDeviceNotification(uint32_t registration) = 0;
};

// CreateInstance with the interface pointer in a ComPtr, asked for under T's own identifier.
template <class T>
[[nodiscard]] HRESULT CreateInstance(IMedia& media, const CLSID& clsid, ComPtr<T>& out) {
    void* object = nullptr;
    HRESULT hr = media.CreateInstance(clsid, IidOf<T>, &object);
    out = ComPtr<T>::Adopt(SUCCEEDED(hr) ? static_cast<T*>(object) : nullptr);
    return hr;
}

}  // namespace platform
