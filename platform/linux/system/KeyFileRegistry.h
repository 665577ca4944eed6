// The registry of the real program: one key file, by default
// $XDG_CONFIG_HOME/Corvane/Vistrel/registry.ini (VISTREL_REGISTRY names another). Keys are
// groups named by their full path under the local machine. The file is read afresh on every
// open and written as a whole, atomically, when a key opened for setting values is closed,
// so a save that cannot be written leaves the previous file whole.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace platform {

class KeyFileRegistry final : public IRegistry {
public:
    explicit KeyFileRegistry(std::string file = DefaultFile());

    // VISTREL_REGISTRY when set, else the user's configuration folder's Corvane/Vistrel/registry.ini.
    static std::string DefaultFile();
    // The group that holds a key of the local machine.
    static std::string GroupOf(const std::wstring& path);

    std::unique_ptr<IRegistryKey> OpenKey(const std::wstring& path, RegistryAccess access) override;
    std::unique_ptr<IRegistryKey> CreateKey(const std::wstring& path) override;

private:
    std::string m_file;
};

}  // namespace platform
