// The system version and the system language on Linux.
//
// Version: the program's only question is whether it runs on the first NT release that needs
// away mode and the power-configuration tool (6.0); Linux needs neither, so it reports NT 10.0,
// the plain answer that keeps those paths off. The real kernel is in the description, from uname.
//
// Language: the machine's locale, not the user's: systemd's locale1 where it runs on the system
// bus, else the locale files, else this process's environment (a container has nothing else).
#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/SystemInfo.h"

namespace platform {

class DBusLink;

class LinuxSystemInfo final : public ISystemInfo {
public:
    // Debian keeps the machine's locale in the first, other systemd distributions in the second.
    static std::vector<std::string> DefaultLocaleFiles() { return {"/etc/default/locale", "/etc/locale.conf"}; }

    // Without a system bus locale1 is not asked.
    explicit LinuxSystemInfo(DBusLink* systemBus = nullptr, std::vector<std::string> localeFiles = DefaultLocaleFiles())
        : m_systemBus(systemBus), m_localeFiles(std::move(localeFiles)) {}

    std::optional<SystemVersion> GetSystemVersion() override;
    // Read once: like Windows' system language, the answer stands until the next start, and
    // the program asks for every message it shows.
    uint16_t GetSystemDefaultLangID() override;

private:
    std::vector<std::string> AskLocale1();
    std::vector<std::string> ReadLocaleFiles() const;

    DBusLink* m_systemBus;
    std::vector<std::string> m_localeFiles;
    std::once_flag m_langIdRead;
    uint16_t m_langId = 0;
};

}  // namespace platform
