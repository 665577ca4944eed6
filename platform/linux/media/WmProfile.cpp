#include "WmProfile.h"

#include <algorithm>
#include <cstring>

#include "CapsMediaType.h"
#include "WmStreamConfig.h"

namespace platform::gst {
namespace {

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

}  // namespace

std::vector<WmStream> SystemProfileStreams(const GUID& id) {
    if (id == WMProfile_V80_384Video) return {AudioStream(), VideoStream()};
    return {};
}

WmAudioFormat AudioFormatOf(const WmStream& stream) {
    WmAudioFormat format{2, 44100, 32000};
    if (stream.mediaType.format.size() >= sizeof(WaveFormat)) {
        WaveFormat wf;
        std::memcpy(&wf, stream.mediaType.format.data(), sizeof wf);
        if (wf.nChannels) format.channels = wf.nChannels;
        if (wf.nSamplesPerSec) format.rate = int(wf.nSamplesPerSec);
        if (wf.nAvgBytesPerSec) format.bitrate = int(wf.nAvgBytesPerSec) * 8;
    }
    return format;
}

HRESULT WmProfile::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_WmProfile) {
        AddRef();
        *object = static_cast<IWMProfile*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

uint32_t WmProfile::AddRef() { return m_refs.Add(); }

uint32_t WmProfile::Release() {
    uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
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
    stream = ComPtr<IWMStreamConfig>::Adopt(new WmStreamConfig(m_streams[index]));
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

WmProfile* AsWmProfile(IUnknown* object) {
    if (!object) return nullptr;
    void* pv = nullptr;
    if (FAILED(object->QueryInterface(IID_WmProfile, &pv))) return nullptr;
    auto* profile = static_cast<WmProfile*>(static_cast<IWMProfile*>(pv));
    profile->Release();  // the caller holds the object
    return profile;
}

namespace {

class WmProfileManager final : public IWMProfileManager {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid != IID_IUnknown) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IWMProfileManager*>(this);
        return S_OK;
    }
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override {
        uint32_t left = m_refs.Drop();
        if (left == 0) delete this;
        return left;
    }
    HRESULT LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) override {
        profile.Reset();
        std::vector<WmStream> streams = SystemProfileStreams(id);
        if (streams.empty()) return NS_E_INVALID_REQUEST;
        profile = ComPtr<IWMProfile>::Adopt(new WmProfile(std::move(streams)));
        return S_OK;
    }

private:
    ~WmProfileManager() = default;
    RefCount m_refs;
};

}  // namespace

ComPtr<IWMProfileManager> CreateWmProfileManager() {
    return ComPtr<IWMProfileManager>::Adopt(new WmProfileManager);
}

}  // namespace platform::gst
