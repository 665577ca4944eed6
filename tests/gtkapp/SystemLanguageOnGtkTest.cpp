// The real platform, built as main() builds it, answers the machine's language, and the
// program's messages follow it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "LinuxPlatform.h"
#include "LinuxSystemInfo.h"
#include "framework/Runtime.h"
#include "platform/MachineLocale.h"
#include "resources/Catalogue.h"
#include "resources/Resources.h"

namespace {

// Sets variables for one test and puts the old values back afterwards.
class EnvironmentFor {
public:
    ~EnvironmentFor() {
        for (const auto& [name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        m_saved.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }

private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

// Whatever the machine's own locale files say outranks the process's environment.
std::string LocaleOfTheMachinesFiles() {
    platform::MachineLocaleSources sources;
    for (const std::string& path : platform::LinuxSystemInfo::DefaultLocaleFiles())
        if (std::ifstream file(path); file)
            sources.localeFiles.push_back(std::string(std::istreambuf_iterator<char>(file), {}));
    return platform::ChooseMachineLocale(sources);
}

TEST(SystemLanguageOnGtkTest, AGermanMachineWithoutBusOrLocaleFileGetsGermanMessages) {
    if (const std::string machine = LocaleOfTheMachinesFiles(); !machine.empty())
        GTEST_SKIP() << "this machine's locale files name " << machine;
    EnvironmentFor env;
    env.Set("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/vistrel-no-system-bus");
    env.Set("LC_ALL", nullptr);
    env.Set("LC_MESSAGES", nullptr);
    env.Set("LANG", "de_DE.UTF-8");

    std::unique_ptr<platform::IPlatform> real = platform::CreateLinuxPlatform(nullptr, nullptr);
    ASSERT_TRUE(real) << "no display";
    AfxRuntime runtime(*real, ProgramResources());
    EXPECT_EQ(real->SystemInfo().GetSystemDefaultLangID(), 0x0407);
    EXPECT_EQ(GetCatalogueText(6011), L"Schnappschuss");
}

}  // namespace
