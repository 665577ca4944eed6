#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
IPlatform* g_current = nullptr;
}

void Install(IPlatform* platform) { g_current = platform; }

IPlatform& Current() {
    if (!g_current) {
        std::fputs("vistrel: no platform installed\n", stderr);
        std::abort();
    }
    return *g_current;
}

bool IsInstalled() { return g_current != nullptr; }

}  // namespace platform
