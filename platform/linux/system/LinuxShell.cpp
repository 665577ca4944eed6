#include "LinuxShell.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "GRefPtr.h"
#include "X11Windows.h"
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

int LinuxShell::Open(const std::wstring& path) {
    // The desktop's handlers say nothing useful about a path that is not there or not theirs
    // to read, so those two are found out here first.
    const std::string name = ToUtf8(path);
    if (name.empty()) return kShellFileNotFound;
    struct stat info {};
    if (stat(name.c_str(), &info) != 0) {
        if (errno == EACCES) return kShellAccessDenied;
        // A missing folder, or a file in a missing folder, is a path not found.
        if (name.back() == '/') return kShellPathNotFound;
        GCharPtr parent(g_path_get_dirname(name.c_str()));
        return access(parent.get(), F_OK) == 0 ? kShellFileNotFound : kShellPathNotFound;
    }
    if (access(name.c_str(), S_ISDIR(info.st_mode) ? R_OK | X_OK : R_OK) != 0) return kShellAccessDenied;
    GCharPtr uri(g_filename_to_uri(name.c_str(), nullptr, nullptr));
    if (!uri) return kShellFileNotFound;
    GErrorPtr error;
    if (!g_app_info_launch_default_for_uri(uri.get(), nullptr, OutPtr(error))) return kShellNoHandler;
    return kShellOpened;
}

}  // namespace platform

namespace platform {

std::optional<ViewerWindow> LinuxShell::FindViewerWindow(const std::wstring& windowClass, const std::wstring& title) {
    return FindX11Window(ToUtf8(windowClass), ToUtf8(title));
}

void LinuxShell::ShowViewerWindow(uint64_t id, bool restore) { ShowX11Window(id, restore); }

}  // namespace platform
