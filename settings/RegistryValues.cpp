#include "RegistryValues.h"

#include <climits>
#include <cstdint>

std::optional<std::wstring> ReadRegistryText(platform::IRegistryKey* key, const std::wstring& name,
                                             size_t bufferBytes) {
    if (!key) return std::nullopt;
    std::optional<std::wstring> text = key->QueryString(name);
    if (!text) return std::nullopt;
    // The stored data is UTF-16: characters beyond the basic plane take two units.
    size_t bytes = 0;
    for (wchar_t c : *text) bytes += static_cast<uint32_t>(c) > 0xFFFF ? 4 : 2;
    if (bytes > bufferBytes) return std::nullopt;
    // The text ends at a zero, as it does when it is taken out of the buffer.
    if (size_t zero = text->find(L'\0'); zero != std::wstring::npos) text->resize(zero);
    return text;
}

int ParseRegistryNumber(std::wstring_view text) {
    size_t i = 0;
    auto isBlank = [](wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); };
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > int64_t{INT_MAX} + 1) value = int64_t{INT_MAX} + 1;  // saturated; no overflow
    }
    if (negative) return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int ReadRegistryNumber(platform::IRegistryKey* key, const std::wstring& name, int missing) {
    std::optional<std::wstring> text = ReadRegistryText(key, name, kNumberBufferBytes);
    return text ? ParseRegistryNumber(*text) : missing;
}
