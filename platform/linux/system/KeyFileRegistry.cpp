#include "KeyFileRegistry.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdlib>
#include <memory>

#include "GRefPtr.h"
#include "KeyFileText.h"
#include "platform/Strings.h"

namespace platform {
namespace {

using KeyFilePtr = GUniquePtr<GKeyFile>;

std::optional<std::string> ReadWholeFile(const std::string& file) {
    GCharPtr contents;
    gsize length = 0;
    if (!g_file_get_contents(file.c_str(), OutPtr(contents), &length, nullptr)) return std::nullopt;
    return std::string(contents.get(), length);
}

// Holds the whole file in memory and writes it back when closed.
class SetValueKey final : public IRegistryKey {
public:
    SetValueKey(std::string file, std::string group, KeyFilePtr keyFile)
        : m_file(std::move(file)), m_group(std::move(group)), m_keyFile(std::move(keyFile)) {}
    ~SetValueKey() override { Save(); }

    std::optional<std::wstring> QueryString(const std::wstring&) override { return std::nullopt; }
    bool SetString(const std::wstring& name, const std::wstring& text) override {
        g_key_file_set_string(m_keyFile.get(), m_group.c_str(), ToUtf8(name).c_str(), ToUtf8(text).c_str());
        return true;
    }

private:
    void Save() {
        GCharPtr folder(g_path_get_dirname(m_file.c_str()));
        g_mkdir_with_parents(folder.get(), 0700);
        gsize length = 0;
        GCharPtr data(g_key_file_to_data(m_keyFile.get(), &length, nullptr));
        // Written beside the file and renamed over it: the old file stays whole until then.
        g_file_set_contents(m_file.c_str(), data.get(), static_cast<gssize>(length), nullptr);
    }

    std::string m_file;
    std::string m_group;
    KeyFilePtr m_keyFile;
};

}  // namespace

KeyFileRegistry::KeyFileRegistry(std::string file) : m_file(std::move(file)) {}

std::string KeyFileRegistry::DefaultFile() {
    if (const char* file = std::getenv("VISTREL_REGISTRY"); file && *file) return file;
    return std::string(g_get_user_config_dir()) + "/Corvane/Vistrel/registry.ini";
}

std::string KeyFileRegistry::GroupOf(const std::wstring& path) { return "HKEY_LOCAL_MACHINE\\" + ToUtf8(path); }

std::unique_ptr<IRegistryKey> KeyFileRegistry::OpenKey(const std::wstring& path, RegistryAccess access) {
    auto text = ReadWholeFile(m_file);
    if (!text) return nullptr;
    auto values = ReadKeyFileGroup(*text, GroupOf(path));
    if (!values) return nullptr;
    if (access == RegistryAccess::Query) return std::make_unique<KeyFileQueryKey>(std::move(*values));
    KeyFilePtr keyFile(g_key_file_new());
    g_key_file_load_from_data(keyFile.get(), text->data(), text->size(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
    return std::make_unique<SetValueKey>(m_file, GroupOf(path), std::move(keyFile));
}

std::unique_ptr<IRegistryKey> KeyFileRegistry::CreateKey(const std::wstring& path) {
    const std::string group = GroupOf(path);
    // The other keys of a readable file are kept; a file that is not a key file is replaced.
    std::string text = ReadWholeFile(m_file).value_or("");
    KeyFilePtr keyFile(g_key_file_new());
    if (!g_key_file_load_from_data(keyFile.get(), text.data(), text.size(), G_KEY_FILE_KEEP_COMMENTS, nullptr)) {
        text.clear();
        keyFile.reset(g_key_file_new());
    }
    if (!g_key_file_has_group(keyFile.get(), group.c_str())) {
        // A key file has no call that adds an empty group; the key exists once its group does.
        gsize length = 0;
        GCharPtr data(g_key_file_to_data(keyFile.get(), &length, nullptr));
        std::string withGroup = std::string(data.get(), length) + "\n[" + group + "]\n";
        keyFile.reset(g_key_file_new());
        if (!g_key_file_load_from_data(keyFile.get(), withGroup.data(), withGroup.size(), G_KEY_FILE_KEEP_COMMENTS,
                                       nullptr)) {
            return nullptr;
        }
    }
    GCharPtr folder(g_path_get_dirname(m_file.c_str()));
    const bool folderReady = g_mkdir_with_parents(folder.get(), 0700) == 0;
    if (!folderReady) return nullptr;
    return std::make_unique<SetValueKey>(m_file, group, std::move(keyFile));
}

}  // namespace platform
