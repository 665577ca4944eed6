// One stream of a profile as handed out by GetStream: a copy that the profile takes back with
// ReconfigStream. Video streams also answer IWMVideoMediaProps.
#pragma once

#include "WmProfile.h"

namespace platform::gst {

// Private identifier: QueryInterface with it hands back the WmStreamConfig.
inline constexpr IID IID_WmStreamConfig{0x7a1c0e55, 0x3d1f, 0x4b8e, {0x9c, 0x41, 0x56, 0x10, 0x2b, 0x7e, 0xa3, 0x04}};

class WmStreamConfig final : public IWMStreamConfig, public IWMVideoMediaProps, public IWMPropertyVault {
public:
    explicit WmStreamConfig(WmStream stream) : m_stream(std::move(stream)) {}
    WmStreamConfig(const WmStreamConfig&) = delete;
    WmStreamConfig& operator=(const WmStreamConfig&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

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
    ~WmStreamConfig() = default;

    RefCount m_refs;
    WmStream m_stream;
};

WmStreamConfig* AsWmStreamConfig(IUnknown* object);

}  // namespace platform::gst
