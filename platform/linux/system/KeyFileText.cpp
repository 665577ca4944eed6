#include "KeyFileText.h"

#include <glib.h>

#include <memory>

#include "platform/Strings.h"

namespace platform {
namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
struct StrvDeleter {
    void operator()(gchar** strv) const { g_strfreev(strv); }
};

}  // namespace

std::optional<KeyFileValues> ReadKeyFileGroup(std::string_view text, const std::string& group) {
    std::unique_ptr<GKeyFile, KeyFileDeleter> file(g_key_file_new());
    // GLib wants a length that fits its signed size; a registry file is never near that.
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) {
        return std::nullopt;
    }
    if (!g_key_file_has_group(file.get(), group.c_str())) return std::nullopt;
    gsize count = 0;
    std::unique_ptr<gchar*, StrvDeleter> keys(g_key_file_get_keys(file.get(), group.c_str(), &count, nullptr));
    KeyFileValues values;
    for (gsize i = 0; keys && i < count; ++i) {
        gchar* value = g_key_file_get_string(file.get(), group.c_str(), keys.get()[i], nullptr);
        if (!value) continue;
        values[FromUtf8(keys.get()[i])] = FromUtf8(value);
        g_free(value);
    }
    return values;
}

std::optional<std::wstring> KeyFileQueryKey::QueryString(const std::wstring& name) {
    auto it = m_values.find(name);
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

}  // namespace platform
