// Free space and drive types on the desktop: the drive type from the desktop's volume monitor
// where one knows the folder's drive, else from sysfs.
#pragma once

#include "PosixVolumes.h"

namespace platform {

class LinuxVolumes final : public IVolumes {
public:
    std::optional<uint64_t> FreeBytes(const std::wstring& folder) override { return m_posix.FreeBytes(folder); }
    DriveType GetDriveType(const std::wstring& folder) override;

private:
    PosixVolumes m_posix;
};

}  // namespace platform
