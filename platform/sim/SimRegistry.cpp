#include "SimRegistry.h"

namespace platform::sim {

class SimRegistry::OpenedKey final : public IRegistryKey {
public:
    OpenedKey(SimRegistry& registry, std::wstring path, RegistryAccess access)
        : m_registry(registry), m_path(std::move(path)), m_access(access) {}

    std::optional<std::wstring> QueryString(const std::wstring& name) override {
        m_registry.m_queryOrder.push_back(name);
        if (m_access != RegistryAccess::Query) return std::nullopt;
        return m_registry.Value(m_path, name);
    }

    bool SetString(const std::wstring& name, const std::wstring& text) override {
        if (m_access != RegistryAccess::SetValue) return false;
        m_registry.m_writeOrder.push_back(name);
        m_registry.SetValue(m_path, name, text);
        return true;
    }

private:
    SimRegistry& m_registry;
    std::wstring m_path;
    RegistryAccess m_access;
};

std::unique_ptr<IRegistryKey> SimRegistry::OpenKey(const std::wstring& path, RegistryAccess access) {
    if (m_openFails || !m_keys.contains(path)) return nullptr;
    return std::make_unique<OpenedKey>(*this, path, access);
}

std::unique_ptr<IRegistryKey> SimRegistry::CreateKey(const std::wstring& path) {
    if (m_createFails) return nullptr;
    m_keys.try_emplace(path);
    return std::make_unique<OpenedKey>(*this, path, RegistryAccess::SetValue);
}

std::optional<SimRegistry::Values> SimRegistry::KeyValues(const std::wstring& path) const {
    auto it = m_keys.find(path);
    if (it == m_keys.end()) return std::nullopt;
    return it->second;
}

std::optional<std::wstring> SimRegistry::Value(const std::wstring& path, const std::wstring& name) const {
    auto key = m_keys.find(path);
    if (key == m_keys.end()) return std::nullopt;
    auto value = key->second.find(name);
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

void SimRegistry::SetValue(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    m_keys[path][name] = text;
}

}  // namespace platform::sim
