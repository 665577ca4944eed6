// The system version and language under the sim: whatever the test says (the newest NT and
// English (United States) by default).
#pragma once

#include <optional>

#include "platform/SystemInfo.h"

namespace platform::sim {

class SimSystemInfo final : public ISystemInfo {
public:
    std::optional<SystemVersion> GetSystemVersion() override { return m_version; }
    // Nothing: the system cannot be asked.
    void SetSystemVersion(std::optional<SystemVersion> version) { m_version = std::move(version); }
    uint16_t GetSystemDefaultLangID() override { return m_langId; }
    void SetSystemDefaultLangID(uint16_t langId) { m_langId = langId; }

private:
    std::optional<SystemVersion> m_version = SystemVersion{kPlatformWin32Nt, 10, 0, 19045, L"Sim NT 10.0"};
    uint16_t m_langId = 0x0409;
};

}  // namespace platform::sim
