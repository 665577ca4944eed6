// Virtual time: it moves only when a test advances it or the program sleeps.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace platform::sim {

class SimClock final : public IClock {
public:
    uint32_t GetTickCount() override { return static_cast<uint32_t>(m_now); }
    // Sleeping passes virtual time at once; timers that fell due fire at the next pump.
    void Sleep(uint32_t ms) override { m_now += ms; }

    uint64_t Now() const { return m_now; }
    void SetNow(uint64_t now) { m_now = now; }

private:
    uint64_t m_now = 1000;
};

}  // namespace platform::sim
