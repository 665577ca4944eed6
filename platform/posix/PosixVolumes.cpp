#include "PosixVolumes.h"

#include <sys/statvfs.h>

#include "platform/Strings.h"

namespace platform {

std::optional<uint64_t> PosixVolumes::FreeBytes(const std::wstring& folder) {
    struct statvfs fs {};
    if (folder.empty() || statvfs(ToUtf8(folder).c_str(), &fs) != 0) return std::nullopt;
    // f_bavail, not f_bfree: the blocks kept for the superuser are not this user's to fill.
    return uint64_t(fs.f_bavail) * uint64_t(fs.f_frsize);
}

}  // namespace platform
