// The system version on Linux. The program's only question is whether it runs on the first NT
// release that needs away mode and the power-configuration tool (6.0); Linux needs neither,
// so it reports NT 10.0, the plain answer that keeps those paths off. The real kernel is in the
// description, from uname.
#pragma once

#include "platform/SystemInfo.h"

namespace platform {

class LinuxSystemInfo final : public ISystemInfo {
public:
    std::optional<SystemVersion> GetSystemVersion() override;
};

}  // namespace platform
