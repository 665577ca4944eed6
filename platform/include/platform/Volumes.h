// What the program asks of the file system that holds a folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// What kind of drive holds a folder, as far as the program tells them apart.
enum class DriveType { Unknown, Fixed, Removable };

class IVolumes {
public:
    virtual ~IVolumes() = default;
    // The bytes this user can still write on the file system that holds `folder` (space kept
    // for the superuser does not count); nothing when the folder cannot be measured.
    [[nodiscard]] virtual std::optional<uint64_t> FreeBytes(const std::wstring& folder) = 0;
    // Removable when the block device under the folder's file system is a USB or otherwise
    // removable device; Unknown when the folder cannot be looked at.
    [[nodiscard]] virtual DriveType GetDriveType(const std::wstring& folder) = 0;
};

}  // namespace platform
