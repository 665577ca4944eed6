#include "LinuxShell.h"

#include <glib.h>

#include "platform/Strings.h"

namespace platform {

std::optional<std::wstring> LinuxShell::GetDocumentsFolder() {
    // Without a user-dirs entry GLib names no documents folder; the home folder is where
    // such a desktop keeps the user's files.
    const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
    if (!folder || !*folder) folder = g_get_home_dir();
    if (!folder || !*folder) return std::nullopt;
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return FromUtf8(path);
}

}  // namespace platform
