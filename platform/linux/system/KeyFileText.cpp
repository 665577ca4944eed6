#include "KeyFileText.h"

#include <glib.h>

#include "GRefPtr.h"
#include "platform/Strings.h"

namespace platform {

std::optional<KeyFileValues> ReadKeyFileGroup(std::string_view text, const std::string& group) {
    GUniquePtr<GKeyFile> file(g_key_file_new());
    // GLib wants a length that fits its signed size; a registry file is never near that.
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) {
        return std::nullopt;
    }
    if (!g_key_file_has_group(file.get(), group.c_str())) return std::nullopt;
    gsize count = 0;
    GStrvPtr keys(g_key_file_get_keys(file.get(), group.c_str(), &count, nullptr));
    KeyFileValues values;
    for (gsize i = 0; keys && i < count; ++i) {
        GCharPtr value(g_key_file_get_string(file.get(), group.c_str(), keys.get()[i], nullptr));
        if (!value) continue;
        values[FromUtf8(keys.get()[i])] = FromUtf8(value.get());
    }
    return values;
}

std::optional<std::wstring> KeyFileQueryKey::QueryString(const std::wstring& name) {
    auto it = m_values.find(name);
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

}  // namespace platform
