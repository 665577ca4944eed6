// Records of the fake devices and registered filters. Tests change the fields at any time; the
// monikers and filters read them when they are used.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/Types.h"
#include "platform/media/MediaTypes.h"

namespace platform::sim {

struct SimDevice {
    enum class Kind { Camera, Microphone, LegacyFilter, EffectFilter, AudioCompressor };

    SimDevice(Kind kind, std::wstring name) : kind(kind), name(std::move(name)) {}
    virtual ~SimDevice() = default;

    const Kind kind;
    std::wstring name;
    bool present = true;       // listed in its categories (unplugged: false)
    bool bagFails = false;     // BindToStorage fails
    bool nameReadable = true;  // reading "FriendlyName" fails when false
    bool bindFails = false;    // BindToObject fails
};

struct SimSetFormatCall {
    AM_MEDIA_TYPE type;
    HRESULT result = S_OK;
};

struct SimCamera final : SimDevice {
    SimCamera(std::wstring name, std::vector<Size> sizes)
        : SimDevice(Kind::Camera, std::move(name)), sizes(std::move(sizes)) {}

    std::vector<Size> sizes;          // offered as RGB24 (YUY2 when rgb24 is false), in order
    bool rgb24 = true;                // false: the effect filter's input cannot take it directly
    std::vector<Size> extraSizes;     // offered after `sizes` under extraSubtype
    GUID extraSubtype = MEDIASUBTYPE_MJPG;
    bool captureClass = true;         // also listed in the capture device-interface class
    bool busy = false;                // adding its filter to a graph fails with E_DEVICE_BUSY
    bool hasOutputPin = true;
    bool propertyPages = true;        // the filter answers ISpecifyPropertyPages
    std::vector<SimSetFormatCall> setFormatCalls;  // every SetFormat on any of its filters

    // The output pin's media types, in order.
    [[nodiscard]] std::vector<AM_MEDIA_TYPE> MediaTypes() const;
    // The size of the last accepted SetFormat, if any.
    [[nodiscard]] std::optional<Size> LastFormatSize() const;
};

struct SimMicrophone final : SimDevice {
    explicit SimMicrophone(std::wstring name) : SimDevice(Kind::Microphone, std::move(name)) {}
};

// The page a camera's filter offers (its video settings page).
inline constexpr GUID kSimCameraPropertyPage{0x71F96464, 0x78F3, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56}};

}  // namespace platform::sim
