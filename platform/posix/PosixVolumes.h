// Free space from statvfs, counted as this user sees it; the drive type from the block device
// under the folder's file system, as sysfs describes it.
#pragma once

#include <string>

#include "platform/Volumes.h"

namespace platform {

class PosixVolumes final : public IVolumes {
public:
    // Tests hand in a folder laid out like /sys.
    explicit PosixVolumes(std::string sysRoot = "/sys") : m_sysRoot(std::move(sysRoot)) {}
    std::optional<uint64_t> FreeBytes(const std::wstring& folder) override;
    DriveType GetDriveType(const std::wstring& folder) override;

private:
    std::string m_sysRoot;
};

}  // namespace platform
