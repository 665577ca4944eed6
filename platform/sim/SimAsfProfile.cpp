#include "SimAsfProfile.h"

#include <algorithm>

#include "SimMediaTypes.h"

namespace platform::sim {

std::vector<SimAsfStream> SimSystemProfileStreams() {
    SimAsfStream audio;
    audio.type = WMMEDIATYPE_Audio;
    audio.number = 1;
    audio.bufferWindow = 5000;
    audio.mediaType.majortype = WMMEDIATYPE_Audio;
    audio.mediaType.subtype = WMMEDIASUBTYPE_WMAudioV2;
    audio.mediaType.bFixedSizeSamples = true;
    audio.mediaType.lSampleSize = 1487;
    audio.mediaType.formattype = FORMAT_WaveFormatEx;
    // WAVEFORMATEX of WMA 2 at 32 kHz stereo, 48 kbit/s, with its 10 bytes of codec data.
    audio.mediaType.format = {0x61, 0x01, 0x02, 0x00, 0x00, 0x7D, 0x00, 0x00, 0xDC, 0x05, 0x00, 0x00, 0xCF, 0x05,
                              0x10, 0x00, 0x0A, 0x00, 0x00, 0x88, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00};

    SimAsfStream video;
    video.type = WMMEDIATYPE_Video;
    video.number = 2;
    video.bufferWindow = 5000;
    video.mediaType = SimVideoType(WMMEDIASUBTYPE_WMV2, {320, 240});
    auto vih = *ReadVideoInfo(video.mediaType);
    vih.rcSource = Rect{0, 0, 320, 240};
    vih.rcTarget = Rect{0, 0, 320, 240};
    vih.dwBitRate = 335000;
    vih.AvgTimePerFrame = 333333;
    WriteVideoInfo(video.mediaType, vih);
    video.maxKeyFrameSpacing = 80000000;
    video.quality = 75;
    return {audio, video};
}

// --- stream configuration ---

void* SimAsfStreamConfig::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IWMStreamConfig) return static_cast<IWMStreamConfig*>(this);
    if (iid == IID_IWMMediaProps) return static_cast<IWMMediaProps*>(static_cast<IWMVideoMediaProps*>(this));
    if (iid == IID_IWMVideoMediaProps && m_stream.type == WMMEDIATYPE_Video) return static_cast<IWMVideoMediaProps*>(this);
    if (iid == IID_IWMPropertyVault) return static_cast<IWMPropertyVault*>(this);
    return nullptr;
}

HRESULT SimAsfStreamConfig::GetStreamType(GUID& type) {
    type = m_stream.type;
    return S_OK;
}

HRESULT SimAsfStreamConfig::GetStreamNumber(uint16_t& number) {
    number = m_stream.number;
    return S_OK;
}

HRESULT SimAsfStreamConfig::GetBufferWindow(uint32_t& ms) {
    ms = m_stream.bufferWindow;
    return S_OK;
}

HRESULT SimAsfStreamConfig::SetBufferWindow(uint32_t ms) {
    m_stream.bufferWindow = ms;
    return S_OK;
}

HRESULT SimAsfStreamConfig::GetMediaType(AM_MEDIA_TYPE* type, uint32_t& size) {
    const auto needed = static_cast<uint32_t>(sizeof(AM_MEDIA_TYPE) + m_stream.mediaType.format.size());
    if (type) {
        if (size < needed) return E_INVALIDARG;  // the caller's buffer would be too small
        *type = m_stream.mediaType;
    }
    size = needed;
    return S_OK;
}

HRESULT SimAsfStreamConfig::SetMediaType(const AM_MEDIA_TYPE& type) {
    if (type.majortype != m_stream.type) return E_INVALIDARG;
    if (type.majortype == WMMEDIATYPE_Video && !ReadVideoInfo(type)) return E_INVALIDARG;
    m_stream.mediaType = type;
    return S_OK;
}

HRESULT SimAsfStreamConfig::SetMaxKeyFrameSpacing(int64_t spacing100ns) {
    if (spacing100ns < 0) return E_INVALIDARG;
    m_stream.maxKeyFrameSpacing = spacing100ns;
    return S_OK;
}

HRESULT SimAsfStreamConfig::SetQuality(uint32_t quality) {
    if (quality > 100) return E_INVALIDARG;
    m_stream.quality = quality;
    return S_OK;
}

HRESULT SimAsfStreamConfig::SetProperty(const std::wstring& name, uint32_t value) {
    if (name.empty()) return E_INVALIDARG;
    m_stream.properties[name] = value;
    return S_OK;
}

// --- profile ---

void* SimAsfProfile::FindInterface(REFIID iid) {
    return iid == IID_IUnknown ? static_cast<IWMProfile*>(this) : nullptr;
}

HRESULT SimAsfProfile::GetStreamCount(uint32_t& count) {
    count = static_cast<uint32_t>(m_streams.size());
    return S_OK;
}

HRESULT SimAsfProfile::GetStream(uint32_t index, ComPtr<IWMStreamConfig>& stream) {
    stream.Reset();
    if (index >= m_streams.size()) return E_INVALIDARG;
    stream = SimMake<SimAsfStreamConfig>(m_streams[index]);
    return S_OK;
}

std::vector<SimAsfStream>::iterator SimAsfProfile::Find(IWMStreamConfig* stream) {
    auto* config = dynamic_cast<SimAsfStreamConfig*>(stream);
    if (!config) return m_streams.end();
    return std::find_if(m_streams.begin(), m_streams.end(),
                        [&](const SimAsfStream& s) { return s.number == config->Stream().number; });
}

HRESULT SimAsfProfile::ReconfigStream(IWMStreamConfig* stream) {
    if (!stream) return E_POINTER;
    auto it = Find(stream);
    if (it == m_streams.end()) return E_INVALIDARG;
    *it = static_cast<SimAsfStreamConfig*>(stream)->Stream();
    return S_OK;
}

HRESULT SimAsfProfile::RemoveStream(IWMStreamConfig* stream) {
    if (!stream) return E_POINTER;
    auto it = Find(stream);
    if (it == m_streams.end()) return E_INVALIDARG;
    m_streams.erase(it);
    return S_OK;
}

// --- profile manager ---

void* SimAsfProfileManager::FindInterface(REFIID iid) {
    return iid == IID_IUnknown ? static_cast<IWMProfileManager*>(this) : nullptr;
}

HRESULT SimAsfProfileManager::LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) {
    profile.Reset();
    if (const HRESULT hr = m_context->Check("LoadProfileByID"); hr != S_OK) return hr;
    if (id != WMProfile_V80_384Video) return NS_E_INVALID_REQUEST;
    profile = SimMake<SimAsfProfile>(SimSystemProfileStreams());
    return S_OK;
}

}  // namespace platform::sim
