// Real time: a monotonic millisecond tick and a real sleep.
#pragma once

#include "platform/Clock.h"

namespace platform {

class SteadyClock final : public IClock {
public:
    uint32_t GetTickCount() override;
    void Sleep(uint32_t ms) override;
};

}  // namespace platform
