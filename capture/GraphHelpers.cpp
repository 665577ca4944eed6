// The preview graph's helpers: pins by direction, filters of a category by name, and the
// capture size asked of the camera.
#include <algorithm>
#include <cwchar>

#include "CapabilityCode.h"
#include "MediaObjects.h"
#include "TaviDlg.h"

namespace {

constexpr uint32_t kMaxMediaTypes = 500;

}  // namespace

platform::Size CTaviDlg::CaptureFrameSize() const {
    if (CapabilityCode(m_arrResolutionCaps, m_nCurVideoDevice) == kCapsNtsc) return {720, 480};
    if (m_nCurResolution == 2) return m_bRecording ? platform::Size{640, 480} : platform::Size{1280, 1024};
    if (m_nCurResolution == 1) return {640, 480};
    return {352, 288};
}

HRESULT CTaviDlg::GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n, ComPtr<IPin>& pin) {
    pin.Reset();
    if (!filter) return E_POINTER;
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins)) || !pins) return E_FAIL;
    ComPtr<IPin> candidate;
    while (pins->Next(candidate) == S_OK && candidate) {
        PIN_DIRECTION found = PINDIR_INPUT;
        if (SUCCEEDED(candidate->QueryDirection(found)) && found == direction && n-- == 0) {
            pin = std::move(candidate);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT CTaviDlg::FindCategoryFilter(const GUID& category, const std::wstring& name, ComPtr<IBaseFilter>& filter) {
    filter.Reset();
    ComPtr<ICreateDevEnum> devEnum;
    HRESULT hr = CreateMediaObject(CLSID_SystemDeviceEnum, devEnum);
    if (FAILED(hr)) return hr;
    ComPtr<IEnumMoniker> entries;
    hr = devEnum->CreateClassEnumerator(category, entries);
    if (hr != S_OK || !entries) return hr;

    ComPtr<IMoniker> moniker;
    while (entries->Next(moniker) == S_OK && moniker) {
        ComPtr<IPropertyBag> bag;
        std::wstring entryName;
        hr = moniker->BindToStorage(bag);
        if (SUCCEEDED(hr) && bag) hr = bag->Read(L"FriendlyName", entryName);
        if (FAILED(hr)) continue;
        if (name.empty()) return moniker->BindToObject(filter);
        if (entryName == name) {
            filter.Reset();  // a later match replaces an earlier one
            hr = moniker->BindToObject(filter);
        }
    }
    return hr;
}

HRESULT CTaviDlg::SetCaptureFormat(IBaseFilter* camera) {
    platform::Size size = CaptureFrameSize();

    ComPtr<IPin> pin;
    ComPtr<IAMStreamConfig> config;
    HRESULT hr = GetPin(camera, PINDIR_OUTPUT, 0, pin);
    if (FAILED(hr)) return hr;
    hr = pin.As(config);
    if (FAILED(hr) || !config) return FAILED(hr) ? hr : E_FAIL;

    AM_MEDIA_TYPE current;
    hr = config->GetFormat(current);
    if (FAILED(hr)) return hr;
    VIDEOINFOHEADER vih = ReadVideoInfo(current).value_or(VIDEOINFOHEADER{});
    vih.bmiHeader.biWidth = size.cx;
    vih.bmiHeader.biHeight = size.cy;
    vih.bmiHeader.biSizeImage = static_cast<uint32_t>(vih.bmiHeader.biBitCount * size.cy * size.cx / 8);
    WriteVideoInfo(current, vih);

    std::vector<AM_MEDIA_TYPE> types;
    ComPtr<IEnumMediaTypes> enumerator;
    if (SUCCEEDED(pin->EnumMediaTypes(enumerator)) && enumerator) (void)enumerator->Next(kMaxMediaTypes, types);
    for (AM_MEDIA_TYPE& type : types) {
        if (type.subtype != MEDIASUBTYPE_RGB24) continue;
        size_t count = std::min(current.format.size(), type.format.size());
        std::copy_n(current.format.begin(), count, type.format.begin());
        return config->SetFormat(type);
    }
    return config->SetFormat(current);
}
