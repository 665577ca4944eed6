// 128-bit interface and class identifiers, written and parsed in the registry form
// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    std::array<uint8_t, 8> Data4{};
    friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;

inline constexpr GUID GUID_NULL{};

[[nodiscard]] std::wstring GuidToString(const GUID& guid);
[[nodiscard]] std::optional<GUID> GuidFromString(std::wstring_view text);
