#include "CapabilityCode.h"

#include <bit>
#include <cwchar>

int CapabilityCode(const std::vector<std::wstring>& caps, int index) {
    if (index < 0 || static_cast<size_t>(index) >= caps.size()) return kCapsNone;
    return static_cast<int>(std::wcstol(caps[static_cast<size_t>(index)].c_str(), nullptr, 10));
}

int ModeCount(int code) { return std::popcount(static_cast<unsigned>(code & (kCapsSmall | kCapsMedium | kCapsLarge))); }
