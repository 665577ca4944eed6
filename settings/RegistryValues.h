// Reading the settings key's text values as the program's fixed-size buffers see them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

// The key that holds the settings, under the local machine.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Corvane\\Vistrel";
// Read buffers: folder and camera texts, and numbers.
inline constexpr size_t kTextBufferBytes = 520;
inline constexpr size_t kNumberBufferBytes = 260;

// The value's text when the key has it and it fits the buffer (two bytes per character, no
// terminating zero needed); nothing when the key is absent, the value missing or too long,
// since a value that does not fit cannot be read at all.
std::optional<std::wstring> ReadRegistryText(platform::IRegistryKey* key, const std::wstring& name,
                                             size_t bufferBytes);

// The decimal number at the start of a text: leading blanks and one sign allowed, anything else
// ends it, no digits give 0; numbers beyond int's range stop at its ends.
int ParseRegistryNumber(std::wstring_view text);

// The number a value holds, or `missing` when it cannot be read.
int ReadRegistryNumber(platform::IRegistryKey* key, const std::wstring& name, int missing);
