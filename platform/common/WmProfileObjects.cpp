#include "platform/media/WmProfileObjects.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// Private identifiers: QueryInterface with them hands back our own object behind an interface,
// so a profile takes back only configurations it gave out and a writer reads only our profiles.
constexpr IID IID_WmProfile{0x7a1c0e54, 0x3d1f, 0x4b8e, {0x9c, 0x41, 0x56, 0x10, 0x2b, 0x7e, 0xa3, 0x03}};
constexpr IID IID_WmStreamConfig{0x7a1c0e55, 0x3d1f, 0x4b8e, {0x9c, 0x41, 0x56, 0x10, 0x2b, 0x7e, 0xa3, 0x04}};

constexpr uint32_t kBufferWindowMs = 5000;

WmStream AudioStream() {
    // WMA 2, 32 kbit/s, 44.1 kHz stereo.
    WmStream stream;
    stream.type = WMMEDIATYPE_Audio;
    stream.number = 1;
    stream.bufferWindowMs = kBufferWindowMs;
    AM_MEDIA_TYPE& mt = stream.mediaType;
    mt.majortype = WMMEDIATYPE_Audio;
    mt.subtype = WMMEDIASUBTYPE_WMAudioV2;
    mt.bFixedSizeSamples = true;
    mt.formattype = FORMAT_WaveFormatEx;
    WaveFormat wf;
    wf.wFormatTag = 0x0161;
    wf.nChannels = 2;
    wf.nSamplesPerSec = 44100;
    wf.nAvgBytesPerSec = 32000 / 8;
    wf.nBlockAlign = 1485;
    wf.wBitsPerSample = 16;
    wf.cbSize = 10;
    mt.lSampleSize = wf.nBlockAlign;
    mt.format.resize(sizeof wf + wf.cbSize);
    std::memcpy(mt.format.data(), &wf, sizeof wf);
    return stream;
}

WmStream VideoStream() {
    // WMV 2, 320 x 240 at 30 frames a second, about 300 kbit/s.
    WmStream stream;
    stream.type = WMMEDIATYPE_Video;
    stream.number = 2;
    stream.bufferWindowMs = kBufferWindowMs;
    stream.maxKeyFrameSpacing = 80'000'000;
    stream.quality = 75;
    AM_MEDIA_TYPE& mt = stream.mediaType;
    mt.majortype = WMMEDIATYPE_Video;
    mt.subtype = WMMEDIASUBTYPE_WMV2;
    mt.bTemporalCompression = true;
    mt.formattype = FORMAT_VideoInfo;
    VIDEOINFOHEADER vih;
    vih.rcSource = Rect{0, 0, 320, 240};
    vih.rcTarget = vih.rcSource;
    vih.dwBitRate = 300'000;
    vih.AvgTimePerFrame = 333'333;
    vih.bmiHeader.biWidth = 320;
    vih.bmiHeader.biHeight = 240;
    vih.bmiHeader.biBitCount = 24;
    vih.bmiHeader.biCompression = WMMEDIASUBTYPE_WMV2.Data1;
    WriteVideoInfo(mt, vih);
    return stream;
}

// The object of type T behind an interface, found by its private identifier.
template <class T, class Interface>
T* Ours(IUnknown* object, const IID& privateIid) {
    if (!object) return nullptr;
    void* pv = nullptr;
    if (FAILED(object->QueryInterface(privateIid, &pv))) return nullptr;
    auto* ours = static_cast<T*>(static_cast<Interface*>(pv));
    ours->Release();  // the caller holds the object
    return ours;
}

}  // namespace

std::vector<WmStream> SystemProfileStreams(const GUID& id) {
    if (id == WMProfile_V80_384Video) return {AudioStream(), VideoStream()};
    return {};
}

// --- stream configuration ---

void* WmStreamConfig::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IWMStreamConfig || iid == IID_WmStreamConfig)
        return static_cast<IWMStreamConfig*>(this);
    if (iid == IID_IWMMediaProps) return static_cast<IWMMediaProps*>(static_cast<IWMVideoMediaProps*>(this));
    if (iid == IID_IWMVideoMediaProps && m_stream.type == WMMEDIATYPE_Video)
        return static_cast<IWMVideoMediaProps*>(this);
    if (iid == IID_IWMPropertyVault) return static_cast<IWMPropertyVault*>(this);
    return nullptr;
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
    const uint32_t needed = kMediaTypeHeaderBytes + uint32_t(m_stream.mediaType.format.size());
    if (type && size < needed) {
        size = needed;
        return E_INVALIDARG;  // the caller's buffer is too small
    }
    if (type) *type = m_stream.mediaType;
    size = needed;
    return S_OK;
}

HRESULT WmStreamConfig::SetMediaType(const AM_MEDIA_TYPE& type) {
    if (type.majortype != m_stream.type) return E_INVALIDARG;
    // A writer takes the frame size from the video format block.
    if (type.majortype == WMMEDIATYPE_Video && !ReadVideoInfo(type)) return E_INVALIDARG;
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
    return Ours<WmStreamConfig, IWMStreamConfig>(object, IID_WmStreamConfig);
}

// --- profile ---

void* WmProfile::FindInterface(REFIID iid) {
    return iid == IID_IUnknown || iid == IID_WmProfile ? static_cast<IWMProfile*>(this) : nullptr;
}

HRESULT WmProfile::GetStreamCount(uint32_t& count) {
    std::lock_guard lock(m_mutex);
    count = uint32_t(m_streams.size());
    return S_OK;
}

HRESULT WmProfile::GetStream(uint32_t index, ComPtr<IWMStreamConfig>& stream) {
    std::lock_guard lock(m_mutex);
    stream.Reset();
    if (index >= m_streams.size()) return E_INVALIDARG;
    stream = MakeComObject<WmStreamConfig>(m_streams[index]);
    return S_OK;
}

HRESULT WmProfile::ReconfigStream(IWMStreamConfig* stream) {
    WmStreamConfig* config = AsWmStreamConfig(stream);
    if (!config) return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    for (WmStream& mine : m_streams) {
        if (mine.number == config->Stream().number) {
            mine = config->Stream();
            return S_OK;
        }
    }
    return NS_E_INVALID_REQUEST;
}

HRESULT WmProfile::RemoveStream(IWMStreamConfig* stream) {
    WmStreamConfig* config = AsWmStreamConfig(stream);
    if (!config) return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    auto it = std::find_if(m_streams.begin(), m_streams.end(),
                           [&](const WmStream& s) { return s.number == config->Stream().number; });
    if (it == m_streams.end()) return NS_E_INVALID_REQUEST;
    m_streams.erase(it);
    return S_OK;
}

std::vector<WmStream> WmProfile::Streams() const {
    std::lock_guard lock(m_mutex);
    return m_streams;
}

WmProfile* AsWmProfile(IUnknown* object) { return Ours<WmProfile, IWMProfile>(object, IID_WmProfile); }

// --- profile manager ---

HRESULT WmProfileManager::LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) {
    profile.Reset();
    std::vector<WmStream> streams = SystemProfileStreams(id);
    if (streams.empty()) return NS_E_INVALID_REQUEST;
    profile = MakeComObject<WmProfile>(std::move(streams));
    return S_OK;
}

}  // namespace platform
