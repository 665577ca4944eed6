// What the program asks about the system it runs on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

inline constexpr uint32_t kPlatformWin32Nt = 2;

struct SystemVersion {
    uint32_t platformId = kPlatformWin32Nt;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    std::wstring description;  // for the log: the real system's name and release
};

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;
    // Nothing when the system cannot be asked.
    virtual std::optional<SystemVersion> GetSystemVersion() = 0;
    // The machine's default language as a Windows language identifier (primary language in
    // the low ten bits, sublanguage above); 0x0409 when the machine names none.
    virtual uint16_t GetSystemDefaultLangID() = 0;
};

}  // namespace platform
