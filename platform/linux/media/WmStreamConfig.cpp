#include "WmStreamConfig.h"

namespace platform::gst {

HRESULT WmStreamConfig::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IWMStreamConfig || iid == IID_WmStreamConfig) {
        *object = static_cast<IWMStreamConfig*>(this);
    } else if (iid == IID_IWMMediaProps) {
        *object = static_cast<IWMMediaProps*>(static_cast<IWMVideoMediaProps*>(this));
    } else if (iid == IID_IWMVideoMediaProps && m_stream.type == WMMEDIATYPE_Video) {
        *object = static_cast<IWMVideoMediaProps*>(this);
    } else if (iid == IID_IWMPropertyVault) {
        *object = static_cast<IWMPropertyVault*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

uint32_t WmStreamConfig::AddRef() { return m_refs.Add(); }

uint32_t WmStreamConfig::Release() {
    uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
}

HRESULT WmStreamConfig::GetStreamType(GUID& type) {
    type = m_stream.type;
    return S_OK;
}

HRESULT WmStreamConfig::GetStreamNumber(uint16_t& number) {
    number = m_stream.number;
    return S_OK;
}

HRESULT WmStreamConfig::GetBufferWindow(uint32_t& ms) {
    ms = m_stream.bufferWindowMs;
    return S_OK;
}

HRESULT WmStreamConfig::SetBufferWindow(uint32_t ms) {
    m_stream.bufferWindowMs = ms;
    return S_OK;
}

HRESULT WmStreamConfig::GetMediaType(AM_MEDIA_TYPE* type, uint32_t& size) {
    uint32_t needed = kMediaTypeHeaderBytes + uint32_t(m_stream.mediaType.format.size());
    if (!type) {
        size = needed;
        return S_OK;
    }
    if (size < needed) {
        size = needed;
        return E_INVALIDARG;  // the caller's buffer is too small
    }
    *type = m_stream.mediaType;
    return S_OK;
}

HRESULT WmStreamConfig::SetMediaType(const AM_MEDIA_TYPE& type) {
    if (type.majortype != m_stream.type) return E_INVALIDARG;
    m_stream.mediaType = type;
    return S_OK;
}

HRESULT WmStreamConfig::SetMaxKeyFrameSpacing(int64_t spacing100ns) {
    if (spacing100ns < 0) return E_INVALIDARG;
    m_stream.maxKeyFrameSpacing = spacing100ns;
    return S_OK;
}

HRESULT WmStreamConfig::SetQuality(uint32_t quality) {
    if (quality > 100) return E_INVALIDARG;
    m_stream.quality = quality;
    return S_OK;
}

HRESULT WmStreamConfig::SetProperty(const std::wstring& name, uint32_t value) {
    if (name.empty()) return E_INVALIDARG;
    m_stream.properties[name] = value;
    return S_OK;
}

WmStreamConfig* AsWmStreamConfig(IUnknown* object) {
    if (!object) return nullptr;
    void* pv = nullptr;
    if (FAILED(object->QueryInterface(IID_WmStreamConfig, &pv))) return nullptr;
    auto* config = static_cast<WmStreamConfig*>(static_cast<IWMStreamConfig*>(pv));
    config->Release();  // the caller holds the object
    return config;
}

}  // namespace platform::gst
