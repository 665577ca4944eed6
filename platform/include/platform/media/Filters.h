// Filters and their pins: pins by direction and index, the media types a pin offers, stream
// configuration of a capture pin and the property pages a filter offers.
#pragma once

#include <string>
#include <vector>

#include "platform/Unknown.h"
#include "platform/media/MediaTypes.h"

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

inline constexpr IID IID_IBaseFilter{0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IPin{0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IAMStreamConfig{0xC6E13340, 0x30AC, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56}};
inline constexpr IID IID_ISpecifyPropertyPages{0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

class IEnumMediaTypes : public IUnknown {
public:
    // Appends up to `count` types to `types`: S_OK when all were fetched, S_FALSE when fewer.
    [[nodiscard]] virtual HRESULT Next(uint32_t count, std::vector<AM_MEDIA_TYPE>& types) = 0;
    [[nodiscard]] virtual HRESULT Reset() = 0;
};

class IPin : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT QueryDirection(PIN_DIRECTION& direction) = 0;
    [[nodiscard]] virtual HRESULT EnumMediaTypes(ComPtr<IEnumMediaTypes>& enumerator) = 0;
    // The pin at the other end of the connection; VFW_E_NOT_CONNECTED when there is none.
    [[nodiscard]] virtual HRESULT ConnectedTo(ComPtr<IPin>& other) = 0;
};
DECLARE_INTERFACE_IID(IPin, IID_IPin);

class IEnumPins : public IUnknown {
public:
    // S_OK with the next pin in the filter's order, S_FALSE at the end.
    [[nodiscard]] virtual HRESULT Next(ComPtr<IPin>& pin) = 0;
    [[nodiscard]] virtual HRESULT Reset() = 0;
};

class IBaseFilter : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT EnumPins(ComPtr<IEnumPins>& enumerator) = 0;
    // The name the filter was added to a graph under (empty outside a graph).
    [[nodiscard]] virtual HRESULT QueryFilterInfo(std::wstring& name) = 0;
};
DECLARE_INTERFACE_IID(IBaseFilter, IID_IBaseFilter);

// On a capture output pin.
class IAMStreamConfig : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT GetFormat(AM_MEDIA_TYPE& type) = 0;
    [[nodiscard]] virtual HRESULT SetFormat(const AM_MEDIA_TYPE& type) = 0;
};
DECLARE_INTERFACE_IID(IAMStreamConfig, IID_IAMStreamConfig);

// On a filter that has settings of its own to show.
class ISpecifyPropertyPages : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT GetPages(std::vector<GUID>& pages) = 0;
};
DECLARE_INTERFACE_IID(ISpecifyPropertyPages, IID_ISpecifyPropertyPages);

inline constexpr HRESULT VFW_E_NOT_CONNECTED = static_cast<HRESULT>(0x80040209u);
inline constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = static_cast<HRESULT>(0x80040207u);
inline constexpr HRESULT VFW_E_CANNOT_CONNECT = static_cast<HRESULT>(0x80040217u);
inline constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
inline constexpr HRESULT VFW_E_DUPLICATE_NAME = static_cast<HRESULT>(0x8004022Cu);
inline constexpr HRESULT VFW_E_ALREADY_CONNECTED = static_cast<HRESULT>(0x80040204u);
inline constexpr HRESULT VFW_E_NOT_STOPPED = static_cast<HRESULT>(0x80040224u);
inline constexpr HRESULT VFW_S_STATE_INTERMEDIATE = 0x00040237;
inline constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = static_cast<HRESULT>(0x8004022Au);
// The device is in use by another program (the camera cannot be started).
inline constexpr HRESULT E_DEVICE_BUSY = static_cast<HRESULT>(0x800700AAu);
