// Power, screen saver and sessions against logind and a screen-saver service on private buses:
// what is asked of them, when locks are taken and let go, and which events come back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "DBusLink.h"
#include "FakeDesktop.h"
#include "LinuxPower.h"
#include "LinuxSession.h"
#include "SystemTestSupport.h"

namespace {

using namespace std::chrono_literals;
using namespace platform;
using systemtest::FakeDesktop;
using systemtest::InhibitCall;
using systemtest::IsolatedTest;
using systemtest::PumpFor;
using systemtest::PumpUntil;

std::vector<InhibitCall> WithMode(const std::vector<InhibitCall>& calls, const std::string& what,
                                  const std::string& mode) {
    std::vector<InhibitCall> found;
    for (const auto& c : calls)
        if (c.what == what && c.mode == mode) found.push_back(c);
    return found;
}

// The bus handles a connection's messages in order, so once a call made after a subscription
// is answered, the subscription is in force and signals sent from now on are seen. (A real
// desktop has no such race to speak of: nothing signals just as the program starts.)
void SyncWithBus(DBusLink& bus) {
    auto reply = bus.Call("bus round trip", "org.freedesktop.DBus", "/org/freedesktop/DBus",
                          "org.freedesktop.DBus", "GetId", nullptr, G_VARIANT_TYPE("(s)"));
    ASSERT_NE(reply, nullptr);
}

class DesktopBusTest : public IsolatedTest {
protected:
    DesktopBusTest() : m_fake(Env()) {}
    FakeDesktop m_fake;
};

// Buses and power as the program has them; the links connect on first use, to the fake's buses.
class PowerOnBusTest : public DesktopBusTest {
protected:
    DBusLink systemBus{BusKind::System};
    DBusLink sessionBus{BusKind::Session};
    LinuxPower power{systemBus, sessionBus};
};

TEST_F(PowerOnBusTest, ExecutionStateHoldsOneSleepBlockUntilContinuousAlone) {
    ASSERT_TRUE(m_fake.Running());
    const uint32_t awake = kEsContinuous | kEsSystemRequired | kEsDisplayRequired;

    EXPECT_EQ(power.SetThreadExecutionState(awake), kEsContinuous);
    EXPECT_EQ(power.SetThreadExecutionState(awake | kEsAwayModeRequired), awake);
    auto blocks = WithMode(m_fake.Inhibits(), "sleep:idle", "block");
    ASSERT_EQ(blocks.size(), 1u) << "a repeated request keeps the one inhibitor";
    EXPECT_EQ(blocks[0].who, "Vistrel");
    EXPECT_EQ(blocks[0].why, "Live camera preview");
    EXPECT_FALSE(FakeDesktop::Released(blocks[0]));

    EXPECT_EQ(power.SetThreadExecutionState(kEsSystemRequired), awake | kEsAwayModeRequired)
        << "a one-off request changes nothing lasting";
    EXPECT_FALSE(FakeDesktop::Released(blocks[0]));

    EXPECT_EQ(power.SetThreadExecutionState(kEsContinuous), awake | kEsAwayModeRequired);
    EXPECT_TRUE(FakeDesktop::Released(blocks[0], 1000));
    EXPECT_FALSE(power.HoldsSleepBlock());
}

TEST_F(PowerOnBusTest, ScreenSaverIsInhibitedOnceAndUninhibitedWithTheSameCookie) {
    ASSERT_TRUE(m_fake.Running());

    EXPECT_TRUE(power.IsScreenSaverActive());
    EXPECT_TRUE(power.SetScreenSaverActive(false, true));
    EXPECT_TRUE(power.SetScreenSaverActive(false, true));
    EXPECT_FALSE(power.IsScreenSaverActive());
    EXPECT_TRUE(power.SetScreenSaverActive(true, true));
    EXPECT_TRUE(power.IsScreenSaverActive());
    EXPECT_EQ(m_fake.ScreenSaverCalls(),
              (std::vector<std::string>{"Inhibit Vistrel Live camera preview -> 42", "UnInhibit 42"}));
}

TEST_F(PowerOnBusTest, ANewRefusalTextTakesTheHeldBlockAgainBeforeLettingTheOldOneGo) {
    ASSERT_TRUE(m_fake.Running());
    power.SetSleepRefusalText(L"Kamera läuft");
    ASSERT_NE(power.SetThreadExecutionState(kEsContinuous | kEsSystemRequired), 0u);

    power.SetSleepRefusalText(L"Kamera läuft");  // unchanged: the lock stays as it is
    power.SetSleepRefusalText(L"Recording in progress");
    const auto blocks = WithMode(m_fake.Inhibits(), "sleep:idle", "block");
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].why, "Kamera läuft");
    EXPECT_EQ(blocks[1].why, "Recording in progress");
    EXPECT_TRUE(FakeDesktop::Released(blocks[0], 1000));
    EXPECT_FALSE(FakeDesktop::Released(blocks[1])) << "the machine must stay awake all along";

    power.SetThreadExecutionState(kEsContinuous);
    power.SetSleepRefusalText(L"Not held now");
    EXPECT_EQ(WithMode(m_fake.Inhibits(), "sleep:idle", "block").size(), 2u) << "nothing to take again";
}

TEST_F(PowerOnBusTest, AScreenSaverServiceThatEndsOrComesBackIsReportedUntilTheSaverIsSwitchedOnAgain) {
    ASSERT_TRUE(m_fake.Running());
    std::vector<bool> activeWhenTold;
    // As the program does: told, it switches the saver off again.
    power.SetScreenSaverChangeHandler([&] {
        activeWhenTold.push_back(power.IsScreenSaverActive());
        (void)power.SetScreenSaverActive(false, true);
    });
    ASSERT_TRUE(power.SetScreenSaverActive(false, true));

    m_fake.SetScreenSaverRunning(false);
    ASSERT_TRUE(PumpUntil([&] { return activeWhenTold.size() == 1; }, 2s));
    m_fake.SetScreenSaverRunning(true);
    ASSERT_TRUE(PumpUntil([&] { return activeWhenTold.size() == 2; }, 2s));
    EXPECT_EQ(activeWhenTold, (std::vector<bool>{true, true})) << "the inhibit went with the service";
    EXPECT_FALSE(power.IsScreenSaverActive());
    EXPECT_EQ(m_fake.ScreenSaverCalls(), (std::vector<std::string>{"Inhibit Vistrel Live camera preview -> 42",
                                                                   "Inhibit Vistrel Live camera preview -> 43"}))
        << "the service that came back is asked anew";

    EXPECT_TRUE(power.SetScreenSaverActive(true, true));
    m_fake.SetScreenSaverRunning(false);
    SyncWithBus(sessionBus);
    PumpFor(100ms);
    EXPECT_EQ(activeWhenTold.size(), 2u) << "a saver the program switched on is none of its business";
}

TEST_F(PowerOnBusTest, SuspendWaitsForTheHandlerAndResumeTakesTheDelayAgainFirst) {
    ASSERT_TRUE(m_fake.Running());
    std::vector<PowerEvent> seen;
    std::vector<size_t> delaysAtEvent;
    std::vector<bool> delayHeldAtEvent;
    power.SetPowerHandler([&](const PowerBroadcast& b) {
        seen.push_back(b.event);
        const auto delays = WithMode(m_fake.Inhibits(), "sleep", "delay");
        delaysAtEvent.push_back(delays.size());
        delayHeldAtEvent.push_back(!delays.empty() && !FakeDesktop::Released(delays.back()));
        return true;
    });
    ASSERT_EQ(WithMode(m_fake.Inhibits(), "sleep", "delay").size(), 1u);

    m_fake.EmitPrepareForSleep(true);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 1; }, 2s));
    EXPECT_EQ(seen[0], PowerEvent::Suspend);
    EXPECT_TRUE(delayHeldAtEvent[0]) << "the machine must wait while the handler pauses the camera";
    EXPECT_TRUE(FakeDesktop::Released(WithMode(m_fake.Inhibits(), "sleep", "delay")[0], 1000))
        << "and may sleep once it is done";

    m_fake.EmitPrepareForSleep(false);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 2s));
    EXPECT_EQ(seen[1], PowerEvent::ResumeAutomatic);
    EXPECT_EQ(delaysAtEvent[1], 2u) << "the next sleep must wait for the handler too";
    EXPECT_TRUE(delayHeldAtEvent[1]);

    power.SetPowerHandler({});
    EXPECT_TRUE(FakeDesktop::Released(WithMode(m_fake.Inhibits(), "sleep", "delay")[1], 1000));
}

class SessionRecorder {
public:
    explicit SessionRecorder(DBusLink& bus) : session(bus, [] { ADD_FAILURE() << "the process must not end"; }) {
        session.SetSessionHandler([this](const SessionEvent& e) { events.push_back(e); });
    }
    std::vector<SessionChange> Changes() const {
        std::vector<SessionChange> changes;
        for (const auto& e : events) changes.push_back(e.change);
        return changes;
    }
    LinuxSession session;
    std::vector<SessionEvent> events;
};

TEST_F(DesktopBusTest, SessionSignalsOfOurSessionBecomeSessionChanges) {
    ASSERT_TRUE(m_fake.Running());
    DBusLink systemBus(BusKind::System);
    SessionRecorder recorder(systemBus);
    ASSERT_TRUE(recorder.session.RegisterSessionNotification(WindowHandle{5}, true));
    EXPECT_EQ(recorder.session.SessionPath(), FakeDesktop::kSessionPath);
    ASSERT_FALSE(m_fake.SessionLookups().empty());
    EXPECT_EQ(m_fake.SessionLookups()[0], "GetSessionByPID (" + std::to_string(::getpid()) + ",)");
    SyncWithBus(systemBus);

    // Another session's lock comes first on the bus and must not be taken for ours.
    m_fake.EmitSessionSignal("/org/freedesktop/login1/session/_7", "Lock");
    m_fake.EmitSessionSignal(FakeDesktop::kSessionPath, "Lock");
    m_fake.EmitSessionSignal(FakeDesktop::kSessionPath, "Unlock");
    m_fake.EmitActive(FakeDesktop::kSessionPath, false);
    m_fake.EmitActive(FakeDesktop::kSessionPath, false);  // no change, no event
    m_fake.EmitActive(FakeDesktop::kSessionPath, true);
    ASSERT_TRUE(PumpUntil([&] { return recorder.events.size() >= 4; }, 2s));
    EXPECT_EQ(recorder.Changes(), (std::vector<SessionChange>{SessionChange::Lock, SessionChange::Unlock,
                                                              SessionChange::ConsoleDisconnect,
                                                              SessionChange::ConsoleConnect}));
    EXPECT_EQ(recorder.events[0].target, WindowHandle{5});
    EXPECT_EQ(recorder.events[0].sessionId, 33u);
}

TEST_F(DesktopBusTest, ShutdownIsALogoffAfterWhichTheShutdownMayGoOn) {
    ASSERT_TRUE(m_fake.Running());
    DBusLink systemBus(BusKind::System);
    SessionRecorder recorder(systemBus);
    ASSERT_TRUE(recorder.session.RegisterSessionNotification(WindowHandle{5}, true));
    const auto delays = WithMode(m_fake.Inhibits(), "shutdown", "delay");
    ASSERT_EQ(delays.size(), 1u);

    m_fake.EmitPrepareForShutdown(true);
    ASSERT_TRUE(PumpUntil([&] { return !recorder.events.empty(); }, 2s));
    EXPECT_EQ(recorder.Changes(), std::vector<SessionChange>{SessionChange::Logoff});
    EXPECT_TRUE(FakeDesktop::Released(delays[0], 1000));
}

TEST_F(DesktopBusTest, UnregisteredWindowsHearNothingMore) {
    ASSERT_TRUE(m_fake.Running());
    DBusLink systemBus(BusKind::System);
    SessionRecorder leaving(systemBus);
    SessionRecorder staying(systemBus);
    ASSERT_TRUE(leaving.session.RegisterSessionNotification(WindowHandle{5}, true));
    ASSERT_TRUE(staying.session.RegisterSessionNotification(WindowHandle{6}, true));
    ASSERT_TRUE(leaving.session.UnregisterSessionNotification(WindowHandle{5}));
    EXPECT_TRUE(FakeDesktop::Released(WithMode(m_fake.Inhibits(), "shutdown", "delay")[0], 1000))
        << "the last registration gone, shutdowns need not wait for us";
    SyncWithBus(systemBus);

    m_fake.EmitSessionSignal(FakeDesktop::kSessionPath, "Lock");
    ASSERT_TRUE(PumpUntil([&] { return !staying.events.empty(); }, 2s));
    EXPECT_TRUE(leaving.events.empty());
}

class EmptyBusTest : public IsolatedTest {
protected:
    EmptyBusTest() : m_buses(Env(), false) {}
    FakeDesktop m_buses;
};

int CountLines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

TEST_F(EmptyBusTest, BusesWithoutTheDesktopServicesFailSoftAndFast) {
    ASSERT_TRUE(m_buses.Running());
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    {
        DBusLink systemBus(BusKind::System);
        DBusLink sessionBus(BusKind::Session);
        LinuxPower power(systemBus, sessionBus);
        SessionRecorder recorder(systemBus);
        EXPECT_EQ(power.SetThreadExecutionState(kEsContinuous | kEsSystemRequired), 0u);
        // Without the service the X server's screen saver is used where there is one, quietly.
        const bool off = power.SetScreenSaverActive(false, true);
        EXPECT_EQ(power.IsScreenSaverActive(), !off);
        EXPECT_TRUE(power.SetScreenSaverActive(true, true));
        power.SetPowerHandler([](const PowerBroadcast&) { return true; });
        EXPECT_TRUE(recorder.session.RegisterSessionNotification(WindowHandle{5}, true));
        EXPECT_TRUE(recorder.session.SessionPath().empty());
    }
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_LT(took, 1s);
    // One line each: the refused inhibitor, the power events, the session events.
    EXPECT_EQ(CountLines(errors), 3) << errors;
}

}  // namespace
