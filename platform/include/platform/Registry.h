// The per-machine store of named text values, organised in keys as the program names them
// (for example L"Software\\Corvane\\Vistrel" under the local machine).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

enum class RegistryAccess { Query, SetValue };

// An open key. Values written through it reach the store at the latest when it is closed
// (destroyed); a store that cannot be written keeps what it held before.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    // The value's whole text; nothing when the key has no such value.
    virtual std::optional<std::wstring> QueryString(const std::wstring& name) = 0;
    // False when the key was not opened for setting values.
    [[nodiscard]] virtual bool SetString(const std::wstring& name, const std::wstring& text) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // An existing key of the local machine; nullptr when there is none or it cannot be opened.
    virtual std::unique_ptr<IRegistryKey> OpenKey(const std::wstring& path, RegistryAccess access) = 0;
    // The key, made when absent, opened for setting values; nullptr when it cannot be made.
    virtual std::unique_ptr<IRegistryKey> CreateKey(const std::wstring& path) = 0;
};

}  // namespace platform
