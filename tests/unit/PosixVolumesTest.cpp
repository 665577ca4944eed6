// The drive type of a folder from a tree laid out like /sys: the block device under the
// folder's file system, its partition's disk, and where it hangs in the device tree.
#include "PosixVolumes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform::DriveType;

TEST(PosixVolumesTest, RemovableFromTheDisksFlagOrAUsbPlaceInTheDeviceTree) {
    struct Case {
        const char* what;
        const char* device;        // under devices/, the folder's partition; empty: no block device
        const char* diskFlag;      // the disk's "removable", or nothing
        DriveType expected;
    };
    const Case cases[] = {
        {"a fixed disk", "pci0/ata1/host0/block/sda/sda1", "0", DriveType::Fixed},
        {"a card reader's flag", "pci0/mmc0/block/mmcblk0/mmcblk0p1", "1", DriveType::Removable},
        {"a USB disk that calls itself fixed", "pci0/usb2/2-1/2-1:1.0/host6/block/sdb/sdb1", "0", DriveType::Removable},
        {"no block device (tmpfs, overlay)", "", nullptr, DriveType::Fixed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder root;
        struct stat info {};
        ASSERT_EQ(stat(root.Path().c_str(), &info), 0);
        const fs::path sys = root.Path() / "sys";
        fs::create_directories(sys / "dev" / "block");
        if (*c.device) {
            const fs::path partition = sys / "devices" / c.device;
            fs::create_directories(partition);
            std::ofstream(partition.parent_path() / "removable") << c.diskFlag << "\n";
            fs::create_directory_symlink(partition, sys / "dev" / "block" /
                                                        (std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev))));
        }
        platform::PosixVolumes volumes(sys.string());
        EXPECT_EQ(volumes.GetDriveType(root.Wide() + L"/"), c.expected);
        EXPECT_EQ(volumes.GetDriveType(root.Wide(L"gone/")), DriveType::Unknown);
    }
}

}  // namespace
