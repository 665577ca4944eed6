#include "LinuxSystemInfo.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "DBusLink.h"
#include "platform/LocaleLangId.h"
#include "platform/MachineLocale.h"
#include "platform/Strings.h"

namespace platform {
namespace {

constexpr const char* kLocale1 = "org.freedesktop.locale1";
// A locale file is a few lines; anything far larger is not one.
constexpr std::streamsize kMaxLocaleFileBytes = 64 * 1024;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

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

uint16_t LinuxSystemInfo::GetSystemDefaultLangID() {
    std::call_once(m_langIdRead, [this] {
        MachineLocaleSources sources;
        sources.locale1 = AskLocale1();
        sources.localeFiles = ReadLocaleFiles();
        sources.lcAll = Environment("LC_ALL");
        sources.lcMessages = Environment("LC_MESSAGES");
        sources.lang = Environment("LANG");
        m_langId = LangIdFromLocaleName(ChooseMachineLocale(sources));
    });
    return m_langId;
}

// locale1 is started on demand by the bus; a camera program starts no services, so where it is
// not running already the files it would read are read instead.
std::vector<std::string> LinuxSystemInfo::AskLocale1() {
    std::vector<std::string> settings;
    if (!m_systemBus || !m_systemBus->HasOwner(kLocale1)) return settings;
    auto reply = m_systemBus->Call("locale1 system locale", kLocale1, "/org/freedesktop/locale1",
                                        "org.freedesktop.DBus.Properties", "Get",
                                        g_variant_new("(ss)", kLocale1, "Locale"), G_VARIANT_TYPE("(v)"));
    if (!reply) return settings;
    GVariant* boxed = nullptr;
    g_variant_get(reply.get(), "(v)", &boxed);
    auto value = AdoptGRef(boxed);
    if (g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING_ARRAY)) {
        GVariantIter iter;
        g_variant_iter_init(&iter, value.get());
        const gchar* setting = nullptr;
        while (g_variant_iter_next(&iter, "&s", &setting)) settings.emplace_back(setting);
    }
    return settings;
}

std::vector<std::string> LinuxSystemInfo::ReadLocaleFiles() const {
    std::vector<std::string> texts;
    for (const std::string& path : m_localeFiles) {
        std::ifstream file(path, std::ios::binary);
        if (!file) continue;
        std::string text(static_cast<size_t>(kMaxLocaleFileBytes), '\0');
        file.read(text.data(), kMaxLocaleFileBytes);
        text.resize(static_cast<size_t>(file.gcount()));
        texts.push_back(std::move(text));
    }
    return texts;
}

}  // namespace platform
