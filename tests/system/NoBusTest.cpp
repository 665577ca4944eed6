// A machine without D-Bus (like this one, and CI): every power, screen-saver and session
// operation fails soft and fast, says so once per bus, and the program can go on.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <chrono>
#include <cstring>
#include <string>

#include "DBusLink.h"
#include "LinuxPower.h"
#include "LinuxSession.h"
#include "SystemTestSupport.h"
#include "UniqueFd.h"

namespace {

using namespace std::chrono_literals;
using namespace platform;
using systemtest::IsolatedTest;

int CountLines(const std::string& text, const std::string& word) {
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (text.substr(start, end - start).find(word) != std::string::npos) ++count;
        start = end + 1;
    }
    return count;
}

class NoBusTest : public IsolatedTest {};

TEST_F(NoBusTest, EveryOperationFailsSoftFastAndSaysSoOncePerBus) {
    const uint32_t awake = kEsContinuous | kEsSystemRequired | kEsDisplayRequired;
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    {
        DBusLink systemBus(BusKind::System);
        DBusLink sessionBus(BusKind::Session);
        LinuxPower power(systemBus, sessionBus);
        LinuxSession session(systemBus, [] { ADD_FAILURE() << "nothing may end the process"; });

        // Nothing can keep the machine awake: refused, and the old request stays in force.
        EXPECT_EQ(power.SetThreadExecutionState(awake), 0u);
        EXPECT_EQ(power.SetThreadExecutionState(awake | kEsAwayModeRequired), 0u);
        EXPECT_EQ(power.SetThreadExecutionState(kEsContinuous), kEsContinuous);
        EXPECT_FALSE(power.HoldsSleepBlock());

        // The screen saver may still be switched through X11 when there is a display.
        const bool off = power.SetScreenSaverActive(false, true);
        EXPECT_EQ(power.IsScreenSaverActive(), !off);
        EXPECT_TRUE(power.SetScreenSaverActive(true, true));
        EXPECT_TRUE(power.IsScreenSaverActive());

        power.SetPowerHandler([](const PowerBroadcast&) { return true; });
        EXPECT_FALSE(power.HoldsSleepDelay());
        EXPECT_FALSE(power.HasPowerSettingNotification());
        EXPECT_FALSE(power.RegisterPowerSettingNotification(WindowHandle{1}, GUID{}));

        // Registration still works: log-off by signal needs no bus.
        EXPECT_TRUE(session.RegisterSessionNotification(WindowHandle{1}, true));
        EXPECT_TRUE(session.SessionPath().empty());
        EXPECT_TRUE(session.UnregisterSessionNotification(WindowHandle{1}));
        power.SetPowerHandler({});
    }
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_LT(took, 1s);
    EXPECT_EQ(CountLines(errors, "system bus"), 1) << errors;
    EXPECT_LE(CountLines(errors, "session bus"), 1) << errors;
}

TEST_F(NoBusTest, ABusThatTakesTheConnectionButNeverGreetsIsGivenUpOnSoon) {
    // A socket nobody accepts on: the kernel completes the connection, and no answer ever comes.
    const std::string path = (Folder() / "hung_bus").string();
    UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener.get(), 4), 0);
    Env().Set("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + path);

    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    DBusLink systemBus(BusKind::System);
    EXPECT_EQ(systemBus.Connection(), nullptr);
    EXPECT_EQ(systemBus.Connection(), nullptr);
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_LT(took, std::chrono::milliseconds(3 * DBusLink::kCallTimeoutMs)) << "tried once, and not for long";
    EXPECT_EQ(CountLines(errors, "system bus"), 1) << errors;
}

}  // namespace
