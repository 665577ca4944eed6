#include "LinuxVolumes.h"

#include <gio/gio.h>

#include "GRefPtr.h"
#include "platform/Strings.h"

namespace platform {
namespace {

// The drive of the mount holding the folder, as the volume monitor (udisks through gvfs, where
// it runs) sees it. Without such a monitor system mounts have no drive: nothing is known here.
std::optional<DriveType> DriveTypeFromVolumeMonitor(const std::wstring& folder) {
    auto file = AdoptGRef(g_file_new_for_path(ToUtf8(folder).c_str()));
    auto mount = AdoptGRef(g_file_find_enclosing_mount(file.get(), nullptr, nullptr));
    if (!mount) return std::nullopt;
    auto drive = AdoptGRef(g_mount_get_drive(mount.get()));
    if (!drive) return std::nullopt;
    return g_drive_is_removable(drive.get()) ? DriveType::Removable : DriveType::Fixed;
}

}  // namespace

DriveType LinuxVolumes::GetDriveType(const std::wstring& folder) {
    if (folder.empty()) return DriveType::Unknown;
    if (auto type = DriveTypeFromVolumeMonitor(folder)) return *type;
    return m_posix.GetDriveType(folder);
}

}  // namespace platform
