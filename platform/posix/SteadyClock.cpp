#include "SteadyClock.h"

#include <cerrno>
#include <ctime>

namespace platform {

uint32_t SteadyClock::GetTickCount() {
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    // Truncation is the point: callers compare ticks by unsigned difference, which survives the wrap.
    return static_cast<uint32_t>(ms);
}

void SteadyClock::Sleep(uint32_t ms) {
    timespec remaining {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    // A signal (SIGCHLD from a child we started, for one) must not cut the pause short.
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace platform
