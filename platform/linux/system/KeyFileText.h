// The registry's key file as text: one group per key path, one key per value name, the value's
// text as the key's string. Pure, so the reader can be fuzzed without a file.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Registry.h"

namespace platform {

using KeyFileValues = std::map<std::wstring, std::wstring>;

// The values of `group` in `text`; nothing when the text is not a key file or has no such
// group. A value whose text cannot be read (for example invalid UTF-8) is left out, so it
// counts as missing, as an unreadable registry value does.
std::optional<KeyFileValues> ReadKeyFileGroup(std::string_view text, const std::string& group);

// A key opened for querying: the group's values as they were read; setting is refused.
class KeyFileQueryKey final : public IRegistryKey {
public:
    explicit KeyFileQueryKey(KeyFileValues values) : m_values(std::move(values)) {}
    std::optional<std::wstring> QueryString(const std::wstring& name) override;
    bool SetString(const std::wstring&, const std::wstring&) override { return false; }

private:
    KeyFileValues m_values;
};

}  // namespace platform
