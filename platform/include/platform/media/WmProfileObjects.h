// The Windows-Media-like profile objects both backends hand out: the profile manager with its
// one system profile, the profile, and stream configurations given out as copies that the
// profile takes back with ReconfigStream. They are pure data; an ASF writer reads the streams
// of a profile it is configured with through WmProfile::Streams.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComObject.h"
#include "platform/media/AsfWriter.h"

namespace platform {

// The bytes a media type takes when handed out: the fixed header (as the Windows-Media runtime
// lays it out on 64-bit systems) and the format block.
inline constexpr uint32_t kMediaTypeHeaderBytes = 88;

// The 18-byte wave-format header of an audio type's format block.
struct WaveFormat {
    uint16_t wFormatTag = 1;  // PCM
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};

struct WmStream {
    GUID type;  // WMMEDIATYPE_Video or WMMEDIATYPE_Audio
    uint16_t number = 0;
    uint32_t bufferWindowMs = 0;
    AM_MEDIA_TYPE mediaType;
    int64_t maxKeyFrameSpacing = 0;  // 100-nanosecond units; video only
    uint32_t quality = 0;            // video only
    std::map<std::wstring, uint32_t> properties;

    std::optional<VIDEOINFOHEADER> VideoInfo() const { return ReadVideoInfo(mediaType); }
};

// The streams of a system profile; empty for an identifier this platform does not have.
[[nodiscard]] std::vector<WmStream> SystemProfileStreams(const GUID& id);

class WmStreamConfig final : public ComObject<IWMStreamConfig, IWMVideoMediaProps, IWMPropertyVault> {
public:
    explicit WmStreamConfig(WmStream stream) : m_stream(std::move(stream)) {}

    HRESULT GetStreamType(GUID& type) override;
    HRESULT GetStreamNumber(uint16_t& number) override;
    HRESULT GetBufferWindow(uint32_t& ms) override;
    HRESULT SetBufferWindow(uint32_t ms) override;
    HRESULT GetMediaType(AM_MEDIA_TYPE* type, uint32_t& size) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT SetMaxKeyFrameSpacing(int64_t spacing100ns) override;
    HRESULT SetQuality(uint32_t quality) override;
    HRESULT SetProperty(const std::wstring& name, uint32_t value) override;

    const WmStream& Stream() const { return m_stream; }

private:
    void* FindInterface(REFIID iid) override;

    WmStream m_stream;
};

// The WmStreamConfig behind an interface of ours, or nullptr.
[[nodiscard]] WmStreamConfig* AsWmStreamConfig(IUnknown* object);

class WmProfile final : public ComObject<IWMProfile> {
public:
    explicit WmProfile(std::vector<WmStream> streams) : m_streams(std::move(streams)) {}

    HRESULT GetStreamCount(uint32_t& count) override;
    HRESULT GetStream(uint32_t index, ComPtr<IWMStreamConfig>& stream) override;
    HRESULT ReconfigStream(IWMStreamConfig* stream) override;
    HRESULT RemoveStream(IWMStreamConfig* stream) override;

    // A snapshot: later edits of the profile do not reach a writer configured from it.
    [[nodiscard]] std::vector<WmStream> Streams() const;

private:
    void* FindInterface(REFIID iid) override;

    mutable std::mutex m_mutex;
    std::vector<WmStream> m_streams;
};

// The WmProfile behind an interface of ours, or nullptr.
[[nodiscard]] WmProfile* AsWmProfile(IUnknown* object);

class WmProfileManager : public SingleComObject<IWMProfileManager> {
public:
    HRESULT LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) override;
};

}  // namespace platform
