// The registry under the sim: keys and values in memory, with switches that make opening or
// creating a key fail, so tests can see what the program does without a store.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform::sim {

class SimRegistry final : public IRegistry {
public:
    using Values = std::map<std::wstring, std::wstring>;

    std::unique_ptr<IRegistryKey> OpenKey(const std::wstring& path, RegistryAccess access) override;
    std::unique_ptr<IRegistryKey> CreateKey(const std::wstring& path) override;

    // What the store holds; nothing when the key does not exist.
    std::optional<Values> KeyValues(const std::wstring& path) const;
    std::optional<std::wstring> Value(const std::wstring& path, const std::wstring& name) const;
    void SetValue(const std::wstring& path, const std::wstring& name, const std::wstring& text);
    void DeleteKey(const std::wstring& path) { m_keys.erase(path); }

    void SetOpenFails(bool fails) { m_openFails = fails; }
    void SetCreateFails(bool fails) { m_createFails = fails; }
    // Every value name in the order the program set it, across all keys.
    const std::vector<std::wstring>& WriteOrder() const { return m_writeOrder; }
    // Every value name in the order the program asked for it.
    const std::vector<std::wstring>& QueryOrder() const { return m_queryOrder; }

private:
    class OpenedKey;
    std::map<std::wstring, Values> m_keys;
    std::vector<std::wstring> m_writeOrder;
    std::vector<std::wstring> m_queryOrder;
    bool m_openFails = false;
    bool m_createFails = false;
};

}  // namespace platform::sim
