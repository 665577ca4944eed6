// Time as the program sees it. Under the sim it is virtual: a long pause costs nothing.
#pragma once

#include <cstdint>

namespace platform {

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since some fixed start; wraps after about 49.7 days like the classic tick count.
    virtual uint32_t GetTickCount() = 0;
    // Blocks the calling thread (the sim advances its clock instead; due timers fire at the next pump).
    virtual void Sleep(uint32_t ms) = 0;
};

}  // namespace platform
