// Device categories: each lists monikers; a moniker gives a property bag ("FriendlyName") and
// binds to a filter object.
#pragma once

#include <string>

#include "platform/Unknown.h"

class IBaseFilter;

inline constexpr IID IID_IPropertyBag{0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IMoniker{0x0000000F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ICreateDevEnum{0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

class IPropertyBag : public IUnknown {
public:
    // Only string properties exist here; an unknown name fails with E_INVALIDARG.
    [[nodiscard]] virtual HRESULT Read(const std::wstring& name, std::wstring& value) = 0;
};
DECLARE_INTERFACE_IID(IPropertyBag, IID_IPropertyBag);

class IMoniker : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT BindToStorage(ComPtr<IPropertyBag>& bag) = 0;
    [[nodiscard]] virtual HRESULT BindToObject(ComPtr<IBaseFilter>& filter) = 0;
};
DECLARE_INTERFACE_IID(IMoniker, IID_IMoniker);

class IEnumMoniker : public IUnknown {
public:
    // S_OK with the next moniker, S_FALSE (and nothing) at the end.
    [[nodiscard]] virtual HRESULT Next(ComPtr<IMoniker>& moniker) = 0;
    [[nodiscard]] virtual HRESULT Reset() = 0;
};

class ICreateDevEnum : public IUnknown {
public:
    // S_OK with an enumerator; S_FALSE and no enumerator when the category is empty.
    [[nodiscard]] virtual HRESULT CreateClassEnumerator(const GUID& category, ComPtr<IEnumMoniker>& enumerator) = 0;
};
DECLARE_INTERFACE_IID(ICreateDevEnum, IID_ICreateDevEnum);

// Categories, with the identifiers the operating system publishes.
inline constexpr GUID CLSID_VideoInputDeviceCategory{0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr GUID CLSID_AudioInputDeviceCategory{0x33D9A762, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr GUID CLSID_AudioCompressorCategory{0x33D9A761, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr GUID CLSID_LegacyAmFilterCategory{0x083863F1, 0x70DE, 0x11D0, {0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr GUID AM_KSCATEGORY_CAPTURE{0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
