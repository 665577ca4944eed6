// Finding the cameras and microphones and the capture sizes each camera offers.
#include "CapabilityCode.h"
#include "MediaObjects.h"
#include "TaviDlg.h"

namespace {

HRESULT CreateDeviceEnumerator(ComPtr<ICreateDevEnum>& devEnum) {
    return CreateMediaObject(CLSID_SystemDeviceEnum, devEnum);
}

// The friendly name from a moniker's property bag; false when the bag or the name is missing.
bool ReadFriendlyName(IMoniker& moniker, std::wstring& name, bool& bagBound) {
    ComPtr<IPropertyBag> bag;
    bagBound = SUCCEEDED(moniker.BindToStorage(bag)) && bag;
    return bagBound && SUCCEEDED(bag->Read(L"FriendlyName", name));
}

// Walks a pin's media types once; `sizeBit` maps a frame size to a code bit (0: none).
template <class SizeBit>
int CollectCaps(IEnumMediaTypes& types, SizeBit sizeBit) {
    int code = 0;
    (void)types.Reset();
    for (;;) {
        std::vector<AM_MEDIA_TYPE> fetched;
        if (types.Next(1, fetched) != S_OK || fetched.empty()) break;
        if (auto vih = ReadVideoInfo(fetched.front())) code |= sizeBit(vih->bmiHeader.biWidth, vih->bmiHeader.biHeight);
    }
    return code;
}

}  // namespace

int CTaviDlg::EnumerateDevices() {
    ComPtr<ICreateDevEnum> devEnum;
    HRESULT hr = CreateDeviceEnumerator(devEnum);
    if (FAILED(hr)) return hr;

    m_arrVideoDevices.clear();
    m_arrAudioDevices.clear();
    m_arrResolutionCaps.clear();

    ComPtr<IEnumMoniker> cameras;
    if (devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, cameras) != S_OK || !cameras) return -1;

    ComPtr<IGraphBuilder> scratch;
    (void)CreateMediaObject(CLSID_FilterGraph, scratch);

    ComPtr<IMoniker> moniker;
    while (cameras->Next(moniker) == S_OK && moniker) {
        std::wstring name;
        bool bagBound = false;
        bool named = ReadFriendlyName(*moniker, name, bagBound);
        if (!bagBound) continue;  // a camera without a property bag is ignored entirely
        if (named && IsCaptureClassDevice(name) != 0) m_arrVideoDevices.push_back(name);

        ComPtr<IBaseFilter> filter;
        int code = 0;
        if (SUCCEEDED(moniker->BindToObject(filter)) && filter) code = ProbeResolutionCaps(scratch.Get(), filter.Get());
        // A camera with another code still takes its place in the list, as one without a
        // code, so that the cameras after it keep theirs.
        const bool stored = code == 1 || code == 3 || code == 7 || code == 8;
        m_arrResolutionCaps.push_back(std::to_wstring(stored ? code : kCapsNone));
    }
    cameras.Reset();
    scratch.Reset();

    ComPtr<IEnumMoniker> microphones;
    if (devEnum->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, microphones) == S_OK && microphones) {
        while (microphones->Next(moniker) == S_OK && moniker) {
            std::wstring name;
            bool bagBound = false;
            if (ReadFriendlyName(*moniker, name, bagBound)) m_arrAudioDevices.push_back(name);
            ComPtr<IBaseFilter> filter;
            (void)moniker->BindToObject(filter);
        }
    }

    if (!m_strCameraName.empty()) {
        m_nVideoDevice = 0;
        for (size_t i = 0; i < m_arrVideoDevices.size(); ++i) {
            if (m_arrVideoDevices[i] == m_strCameraName) {
                m_nVideoDevice = static_cast<int>(i);
                break;
            }
        }
    }
    return 0;
}

int CTaviDlg::ProbeResolutionCaps(IGraphBuilder* graph, IBaseFilter* filter) {
    if (!graph || !filter) return 0;
    int code = 0;
    if (SUCCEEDED(graph->AddFilter(filter, L"Capture"))) {
        ComPtr<IPin> pin;
        ComPtr<IEnumMediaTypes> types;
        if (SUCCEEDED(GetPin(filter, PINDIR_OUTPUT, 0, pin)) && SUCCEEDED(pin->EnumMediaTypes(types)) && types) {
            code = CollectCaps(*types, [](int32_t w, int32_t h) {
                if (w == 352 && h == 288) return kCapsSmall;
                if (w == 640 && h == 480) return kCapsMedium;
                if (w == 1280 && h == 1024) return kCapsLarge;
                return 0;
            });
            if (code == 0) {
                code = CollectCaps(*types, [](int32_t w, int32_t h) { return w == 720 && h == 480 ? kCapsNtsc : 0; });
            }
        }
    }
    (void)graph->RemoveFilter(filter);
    return code;
}

int CTaviDlg::IsCaptureClassDevice(const std::wstring& name) {
    ComPtr<ICreateDevEnum> devEnum;
    HRESULT hr = CreateDeviceEnumerator(devEnum);
    if (FAILED(hr)) return hr;  // non-zero: the name counts as accepted

    int match = 0;
    ComPtr<IEnumMoniker> entries;
    if (devEnum->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, entries) == S_OK && entries) {
        ComPtr<IMoniker> moniker;
        while (entries->Next(moniker) == S_OK && moniker) {
            std::wstring entryName;
            bool bagBound = false;
            if (ReadFriendlyName(*moniker, entryName, bagBound) && entryName == name) match = 1;
        }
    }
    return match;
}

int CTaviDlg::CreateVideoDeviceFilter(ComPtr<IBaseFilter>& filter, int index) {
    filter.Reset();
    ComPtr<ICreateDevEnum> devEnum;
    ComPtr<IEnumMoniker> cameras;
    if (FAILED(CreateDeviceEnumerator(devEnum)) || !devEnum) return -1;
    (void)devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, cameras);
    if (!cameras) return -1;

    (void)cameras->Reset();
    int counter = 0;
    ComPtr<IMoniker> moniker;
    while (cameras->Next(moniker) == S_OK && moniker) {
        std::wstring name;
        bool bagBound = false;
        if (!ReadFriendlyName(*moniker, name, bagBound)) continue;
        if (counter == index) {
            (void)moniker->BindToObject(filter);
            if (filter) break;
        }
        ++counter;
    }
    return 0;
}
