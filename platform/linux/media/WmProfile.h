// The Windows-Media-like profile: a list of streams (type, number, buffer window, media type,
// key-frame spacing, quality, named properties). The ASF writer builds its encoders from it.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/media/AsfWriter.h"

namespace platform::gst {

// Private identifier: QueryInterface with it hands back the WmProfile behind an IWMProfile.
inline constexpr IID IID_WmProfile{0x7a1c0e54, 0x3d1f, 0x4b8e, {0x9c, 0x41, 0x56, 0x10, 0x2b, 0x7e, 0xa3, 0x03}};

// The bytes a media type takes when handed out: the fixed header (as the Windows-Media
// runtime lays it out on 64-bit systems) and the format block.
inline constexpr uint32_t kMediaTypeHeaderBytes = 88;

struct WmStream {
    GUID type;  // WMMEDIATYPE_Video or WMMEDIATYPE_Audio
    uint16_t number = 0;
    uint32_t bufferWindowMs = 0;
    AM_MEDIA_TYPE mediaType;
    int64_t maxKeyFrameSpacing = 0;  // 100-nanosecond units; video only
    uint32_t quality = 0;            // video only
    std::map<std::wstring, uint32_t> properties;
};

// The streams of a system profile; empty for an identifier this platform does not have.
std::vector<WmStream> SystemProfileStreams(const GUID& id);

// The audio parameters a stream's wave-format block gives.
struct WmAudioFormat {
    int channels = 0;
    int rate = 0;
    int bitrate = 0;
};
WmAudioFormat AudioFormatOf(const WmStream& stream);

class WmProfile final : public IWMProfile {
public:
    explicit WmProfile(std::vector<WmStream> streams) : m_streams(std::move(streams)) {}
    WmProfile(const WmProfile&) = delete;
    WmProfile& operator=(const WmProfile&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    HRESULT GetStreamCount(uint32_t& count) override;
    HRESULT GetStream(uint32_t index, ComPtr<IWMStreamConfig>& stream) override;
    HRESULT ReconfigStream(IWMStreamConfig* stream) override;
    HRESULT RemoveStream(IWMStreamConfig* stream) override;

    std::vector<WmStream> Streams() const;

private:
    ~WmProfile() = default;

    RefCount m_refs;
    mutable std::mutex m_mutex;
    std::vector<WmStream> m_streams;
};

// The WmProfile behind an interface of ours, or nullptr.
WmProfile* AsWmProfile(IUnknown* object);

ComPtr<IWMProfileManager> CreateWmProfileManager();

}  // namespace platform::gst
