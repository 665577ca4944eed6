// systemd's locale1 on a private bus playing the system bus, served from a thread of its own so
// the code under test can ask it synchronously from the test's thread.
#pragma once

#include <gio/gio.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "PrivateBus.h"
#include "ServingThread.h"
#include "SystemTestSupport.h"

namespace systemtest {

class FakeLocale1 {
public:
    // Starts the bus and points DBUS_SYSTEM_BUS_ADDRESS at it; without a locale nobody answers
    // there (a system bus where locale1 is not running).
    FakeLocale1(ScopedEnv& env, std::optional<std::vector<std::string>> locale);
    ~FakeLocale1();
    FakeLocale1(const FakeLocale1&) = delete;
    FakeLocale1& operator=(const FakeLocale1&) = delete;

    bool Running() const { return m_ready; }
    // How often the Locale property was read.
    int Reads() const { return m_reads; }

private:
    bool Serve();
    static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                                   GError**, gpointer self);

    std::optional<std::vector<std::string>> m_locale;
    PrivateBus m_bus;
    GDBusConnection* m_connection = nullptr;
    std::optional<ServingThread> m_serving;
    std::atomic<int> m_reads{0};
    bool m_ready = false;
};

}  // namespace systemtest
