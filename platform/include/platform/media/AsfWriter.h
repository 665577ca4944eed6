// The ASF writer and the Windows-Media-like profile that configures it: streams with a buffer
// window, a media type whose video format block gives the frame size, a complexity property,
// key-frame spacing and quality.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Unknown.h"
#include "platform/media/MediaTypes.h"

inline constexpr IID IID_IFileSinkFilter{0xA2104830, 0x7C70, 0x11CF, {0x8B, 0xCE, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};
inline constexpr IID IID_IConfigAsfWriter{0x45086030, 0xF7E4, 0x486A, {0xB5, 0x04, 0x82, 0x6B, 0xB5, 0x79, 0x2A, 0x3B}};
inline constexpr IID IID_IWMStreamConfig{0x96406BDC, 0x2B2B, 0x11D3, {0xB3, 0x6B, 0x00, 0xC0, 0x4F, 0x61, 0x08, 0xFF}};
inline constexpr IID IID_IWMMediaProps{0x96406BCE, 0x2B2B, 0x11D3, {0xB3, 0x6B, 0x00, 0xC0, 0x4F, 0x61, 0x08, 0xFF}};
inline constexpr IID IID_IWMVideoMediaProps{0x96406BCF, 0x2B2B, 0x11D3, {0xB3, 0x6B, 0x00, 0xC0, 0x4F, 0x61, 0x08, 0xFF}};
inline constexpr IID IID_IWMPropertyVault{0x72995A79, 0x5090, 0x42A4, {0x9C, 0x8C, 0xD9, 0xD0, 0xB6, 0xD3, 0x4B, 0xE5}};

// The one system profile the recorder loads: WMV2 video and WMA2 audio, audio stream first.
inline constexpr GUID WMProfile_V80_384Video{0x0B89164A, 0x5490, 0x4686, {0x9E, 0x37, 0x5A, 0x80, 0x88, 0x4E, 0x51, 0x46}};
inline constexpr GUID WMMEDIATYPE_Video = MEDIATYPE_Video;
inline constexpr GUID WMMEDIATYPE_Audio = MEDIATYPE_Audio;
inline constexpr GUID WMMEDIASUBTYPE_WMV2{0x32564D57, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID WMMEDIASUBTYPE_WMAudioV2{0x00000161, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr HRESULT NS_E_INVALID_REQUEST = static_cast<HRESULT>(0xC00D002Bu);

class IFileSinkFilter : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT SetFileName(const std::wstring& path, const AM_MEDIA_TYPE* type) = 0;
};
DECLARE_INTERFACE_IID(IFileSinkFilter, IID_IFileSinkFilter);

class IWMStreamConfig : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT GetStreamType(GUID& type) = 0;
    [[nodiscard]] virtual HRESULT GetStreamNumber(uint16_t& number) = 0;
    [[nodiscard]] virtual HRESULT GetBufferWindow(uint32_t& ms) = 0;
    [[nodiscard]] virtual HRESULT SetBufferWindow(uint32_t ms) = 0;
};
DECLARE_INTERFACE_IID(IWMStreamConfig, IID_IWMStreamConfig);

// Queried from a stream configuration.
class IWMMediaProps : public IUnknown {
public:
    // With `type` null, `size` receives the bytes the type needs (header and format block);
    // otherwise the type is copied out.
    [[nodiscard]] virtual HRESULT GetMediaType(AM_MEDIA_TYPE* type, uint32_t& size) = 0;
    [[nodiscard]] virtual HRESULT SetMediaType(const AM_MEDIA_TYPE& type) = 0;
};
DECLARE_INTERFACE_IID(IWMMediaProps, IID_IWMMediaProps);

class IWMVideoMediaProps : public IWMMediaProps {
public:
    [[nodiscard]] virtual HRESULT SetMaxKeyFrameSpacing(int64_t spacing100ns) = 0;
    [[nodiscard]] virtual HRESULT SetQuality(uint32_t quality) = 0;  // 0 (smoothest) to 100 (sharpest)
};
DECLARE_INTERFACE_IID(IWMVideoMediaProps, IID_IWMVideoMediaProps);

class IWMPropertyVault : public IUnknown {
public:
    // Only 32-bit values are kept (the encoder's "_COMPLEXITYEX").
    [[nodiscard]] virtual HRESULT SetProperty(const std::wstring& name, uint32_t value) = 0;
};
DECLARE_INTERFACE_IID(IWMPropertyVault, IID_IWMPropertyVault);

// Streams handed out by GetStream are copies: a change counts once ReconfigStream writes it
// back.
class IWMProfile : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT GetStreamCount(uint32_t& count) = 0;
    [[nodiscard]] virtual HRESULT GetStream(uint32_t index, ComPtr<IWMStreamConfig>& stream) = 0;
    [[nodiscard]] virtual HRESULT ReconfigStream(IWMStreamConfig* stream) = 0;
    [[nodiscard]] virtual HRESULT RemoveStream(IWMStreamConfig* stream) = 0;
};

class IWMProfileManager : public IUnknown {
public:
    // NS_E_INVALID_REQUEST for any profile but the one above.
    [[nodiscard]] virtual HRESULT LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) = 0;
};

// On the ASF writer filter; its input pins follow the profile's streams in order.
class IConfigAsfWriter : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT ConfigureFilterUsingProfile(IWMProfile* profile) = 0;
};
DECLARE_INTERFACE_IID(IConfigAsfWriter, IID_IConfigAsfWriter);
