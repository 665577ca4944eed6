#include "PosixVolumes.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "platform/Strings.h"

namespace platform {
namespace {

// The kernel's "removable" flag of a block device: 1 for media that can be taken out (card
// readers, most USB sticks).
bool FlaggedRemovable(const std::filesystem::path& device) {
    std::ifstream flag(device / "removable");
    char value = '0';
    return flag >> value && value == '1';
}

}  // namespace

std::optional<uint64_t> PosixVolumes::FreeBytes(const std::wstring& folder) {
    struct statvfs fs {};
    if (folder.empty() || statvfs(ToUtf8(folder).c_str(), &fs) != 0) return std::nullopt;
    // f_bavail, not f_bfree: the blocks kept for the superuser are not this user's to fill.
    return uint64_t(fs.f_bavail) * uint64_t(fs.f_frsize);
}

DriveType PosixVolumes::GetDriveType(const std::wstring& folder) {
    struct stat info {};
    if (folder.empty() || stat(ToUtf8(folder).c_str(), &info) != 0) return DriveType::Unknown;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path link = fs::path(m_sysRoot) / "dev" / "block" /
                          (std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev)));
    const fs::path device = fs::canonical(link, error);
    // No block device (tmpfs, overlays, network file systems): nothing to pull out.
    if (error) return DriveType::Fixed;
    // A partition carries no flag of its own; the disk above it does.
    if (FlaggedRemovable(device) || (!fs::exists(device / "removable") && FlaggedRemovable(device.parent_path())))
        return DriveType::Removable;
    // USB disks often say they are fixed; their place in the device tree says otherwise.
    for (const fs::path& part : device)
        if (part.string().rfind("usb", 0) == 0) return DriveType::Removable;
    return DriveType::Fixed;
}

}  // namespace platform
