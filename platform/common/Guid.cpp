#include "platform/Guid.h"

#include <cstdio>
#include <cwchar>

std::wstring GuidToString(const GUID& g) {
    wchar_t buffer[40];
    std::swprintf(buffer, 40, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buffer;
}

std::optional<GUID> GuidFromString(std::wstring_view text) {
    // {8-4-4-4-12}
    if (text.size() != 38 || text.front() != L'{' || text.back() != L'}') return std::nullopt;
    uint8_t bytes[16];
    size_t pos = 1;
    for (int i = 0; i < 16; ++i) {
        if (pos == 9 || pos == 14 || pos == 19 || pos == 24) {
            if (text[pos] != L'-') return std::nullopt;
            ++pos;
        }
        int value = 0;
        for (int k = 0; k < 2; ++k) {
            wchar_t c = text[pos++];
            int digit = (c >= L'0' && c <= L'9') ? c - L'0'
                        : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                        : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                                   : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        bytes[i] = static_cast<uint8_t>(value);
    }
    GUID g;
    g.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    g.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
    return g;
}
