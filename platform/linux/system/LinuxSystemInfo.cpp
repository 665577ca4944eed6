#include "LinuxSystemInfo.h"

#include <sys/utsname.h>

#include <string>

#include "platform/Strings.h"

namespace platform {

std::optional<SystemVersion> LinuxSystemInfo::GetSystemVersion() {
    utsname name{};
    if (::uname(&name) != 0) return std::nullopt;
    SystemVersion version;
    version.platformId = kPlatformWin32Nt;
    version.major = 10;
    version.minor = 0;
    version.build = 0;
    version.description =
        FromUtf8(std::string(name.sysname) + " " + name.release + " " + name.version + " " + name.machine);
    return version;
}

}  // namespace platform
