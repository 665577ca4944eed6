// The sim's system services: the fakes the program's start-up, shut-down and event handling
// are tested against must keep the rules the real backends keep.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "SimPlatform.h"
#include "TempFolder.h"

namespace {

using namespace platform;
using platform::sim::SimPlatform;

constexpr GUID kAwayMode{0x98A7F580, 0x01F7, 0x48AA, {0x9C, 0x0F, 0x44, 0x35, 0x2C, 0x29, 0xE5, 0xC0}};
constexpr GUID kOtherSetting{0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};

TEST(SimInstanceTest, NameIsHeldExactlyAsLongAsTheLockLives) {
    SimPlatform sim;
    IInstance& instance = sim.Instance();
    auto first = instance.AcquireSingleInstance(L"VISTREL");
    ASSERT_TRUE(first);
    EXPECT_FALSE(instance.AcquireSingleInstance(L"VISTREL"));
    EXPECT_TRUE(instance.AcquireSingleInstance(L"OTHER")) << "names are independent";
    first.reset();
    auto second = instance.AcquireSingleInstance(L"VISTREL");
    EXPECT_TRUE(second) << "a released name can be taken again";
    const std::vector<std::pair<std::wstring, bool>> expected{
        {L"VISTREL", true}, {L"VISTREL", false}, {L"OTHER", true}, {L"VISTREL", true}};
    EXPECT_EQ(sim.Instance().Acquisitions(), expected);
}

TEST(SimInstanceTest, LockMayOutliveThePlatform) {
    std::unique_ptr<IInstanceLock> lock;
    {
        SimPlatform sim;
        lock = sim.Instance().AcquireSingleInstance(L"VISTREL");
    }
    lock.reset();  // must not touch the destroyed sim (the sanitizer run catches it)
}

TEST(SimInstanceTest, AnotherProcessHoldingTheNameRefusesUntilItLetsGo) {
    SimPlatform sim;
    sim.Instance().SetHeldElsewhere(L"VISTREL", true);
    EXPECT_FALSE(sim.Instance().AcquireSingleInstance(L"VISTREL"));
    EXPECT_TRUE(sim.Instance().AnnounceToRunningInstance(L"VISTREL")) << "the holder elsewhere is reached";
    sim.Instance().SetHeldElsewhere(L"VISTREL", false);
    EXPECT_TRUE(sim.Instance().AcquireSingleInstance(L"VISTREL"));
}

TEST(SimInstanceTest, AnnouncementsReachTheHandlerOnlyWhileTheNameIsHeld) {
    SimPlatform sim;
    std::vector<std::wstring> received;
    sim.Instance().SetAnnouncementHandler([&](std::wstring_view name) { received.emplace_back(name); });

    EXPECT_FALSE(sim.Instance().AnnounceToRunningInstance(L"VISTREL")) << "nobody runs";
    auto lock = sim.Instance().AcquireSingleInstance(L"VISTREL");
    EXPECT_TRUE(sim.Instance().AnnounceToRunningInstance(L"VISTREL"));
    sim.Instance().InjectAnnouncement(L"VISTREL");
    lock.reset();
    EXPECT_FALSE(sim.Instance().AnnounceToRunningInstance(L"VISTREL"));

    EXPECT_EQ(received, (std::vector<std::wstring>{L"VISTREL", L"VISTREL"}));
    EXPECT_EQ(sim.Instance().Announcements().size(), 3u) << "every attempt is recorded";
}

TEST(SimPowerTest, ExecutionStateReturnsThePreviousLastingRequest) {
    SimPlatform sim;
    IPower& power = sim.Power();
    const uint32_t awake = kEsContinuous | kEsSystemRequired | kEsDisplayRequired;
    EXPECT_EQ(power.SetThreadExecutionState(awake), kEsContinuous) << "a fresh thread asks for nothing";
    // A one-off nudge changes nothing lasting.
    EXPECT_EQ(power.SetThreadExecutionState(kEsSystemRequired), awake);
    EXPECT_EQ(sim.Power().ExecutionState(), awake);
    EXPECT_EQ(power.SetThreadExecutionState(kEsContinuous), awake);
    EXPECT_EQ(sim.Power().ExecutionState(), kEsContinuous);
}

TEST(SimPowerTest, RefusedExecutionStateReturnsZeroAndKeepsTheOldRequest) {
    SimPlatform sim;
    const uint32_t awake = kEsContinuous | kEsSystemRequired | kEsDisplayRequired;
    const uint32_t away = awake | kEsAwayModeRequired;
    ASSERT_EQ(sim.Power().SetThreadExecutionState(awake), kEsContinuous);
    sim.Power().RefuseExecutionStates(1);
    EXPECT_EQ(sim.Power().SetThreadExecutionState(away), 0u);
    EXPECT_EQ(sim.Power().ExecutionState(), awake);
    EXPECT_EQ(sim.Power().SetThreadExecutionState(away), awake) << "only one refusal was scripted";
    ASSERT_EQ(sim.Power().ExecutionStateCalls().size(), 3u);
    EXPECT_EQ(sim.Power().ExecutionStateCalls()[1].flags, away);
    EXPECT_EQ(sim.Power().ExecutionStateCalls()[1].result, 0u);
}

TEST(SimPowerTest, ScreenSaverQueryFollowsTheSettingAndEverySwitchIsRecorded) {
    SimPlatform sim;
    sim.Power().SetScreenSaverSetting(false);
    EXPECT_FALSE(sim.Power().IsScreenSaverActive());
    sim.Power().SetScreenSaverSetting(true);
    EXPECT_TRUE(sim.Power().IsScreenSaverActive());

    EXPECT_TRUE(sim.Power().SetScreenSaverActive(false, true));
    EXPECT_FALSE(sim.Power().IsScreenSaverActive());
    EXPECT_TRUE(sim.Power().SetScreenSaverActive(true, false));
    sim.Power().FailScreenSaverSwitches(true);
    EXPECT_FALSE(sim.Power().SetScreenSaverActive(false, true));
    EXPECT_TRUE(sim.Power().IsScreenSaverActive()) << "a failed switch leaves the setting alone";

    const auto& switches = sim.Power().ScreenSaverSwitches();
    ASSERT_EQ(switches.size(), 3u);
    EXPECT_FALSE(switches[0].on);
    EXPECT_TRUE(switches[0].writeToProfile);
    EXPECT_TRUE(switches[1].on);
    EXPECT_FALSE(switches[1].writeToProfile);
}

TEST(SimPowerTest, PowerEventsReachTheHandlerInOrderAndItMayRefuseTheQuery) {
    SimPlatform sim;
    EXPECT_TRUE(sim.Power().InjectQuerySuspend()) << "nobody refuses without a handler";
    std::vector<PowerEvent> seen;
    sim.Power().SetPowerHandler([&](const PowerBroadcast& b) {
        seen.push_back(b.event);
        EXPECT_FALSE(b.target) << "suspend and resume are for every window";
        return b.event != PowerEvent::QuerySuspend;
    });
    EXPECT_FALSE(sim.Power().InjectQuerySuspend());
    sim.Power().InjectSuspend();
    sim.Power().InjectResume();
    EXPECT_EQ(seen, (std::vector<PowerEvent>{PowerEvent::QuerySuspend, PowerEvent::Suspend,
                                             PowerEvent::ResumeAutomatic}));
    sim.Power().SetPowerHandler({});
    sim.Power().InjectSuspend();
    EXPECT_EQ(seen.size(), 3u) << "a cleared handler hears nothing";
}

TEST(SimPowerTest, PowerSettingChangesReachOnlyWindowsRegisteredForThatSetting) {
    SimPlatform sim;
    const WindowHandle main{7};
    const WindowHandle other{9};
    const PowerNotifyHandle away = sim.Power().RegisterPowerSettingNotification(main, kAwayMode);
    const PowerNotifyHandle unrelated = sim.Power().RegisterPowerSettingNotification(other, kOtherSetting);
    ASSERT_TRUE(away);
    ASSERT_TRUE(unrelated);
    EXPECT_NE(away, unrelated);

    std::vector<PowerBroadcast> seen;
    sim.Power().SetPowerHandler([&](const PowerBroadcast& b) {
        seen.push_back(b);
        return true;
    });
    sim.Power().InjectPowerSettingChange(kAwayMode, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, PowerEvent::PowerSettingChange);
    EXPECT_EQ(seen[0].target, main);
    EXPECT_EQ(seen[0].setting, kAwayMode);
    EXPECT_EQ(seen[0].value, 1u);

    EXPECT_TRUE(sim.Power().UnregisterPowerSettingNotification(away));
    EXPECT_FALSE(sim.Power().UnregisterPowerSettingNotification(away)) << "a handle is undone once";
    sim.Power().InjectPowerSettingChange(kAwayMode, 0);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(sim.Power().PowerSettingUnregistrations(), std::vector<PowerNotifyHandle>{away});
}

TEST(SimPowerTest, WithoutPowerSettingNotificationsRegistrationGivesNoHandle) {
    SimPlatform sim;
    sim.Power().SetPowerSettingNotificationAvailable(false);
    EXPECT_FALSE(sim.Power().HasPowerSettingNotification());
    EXPECT_FALSE(sim.Power().RegisterPowerSettingNotification(WindowHandle{7}, kAwayMode));
    EXPECT_TRUE(sim.Power().PowerSettingRegistrations().empty());
}

TEST(SimSessionTest, SessionChangesReachEachRegisteredWindowUntilUnregistered) {
    SimPlatform sim;
    std::vector<SessionEvent> seen;
    sim.Session().SetSessionHandler([&](const SessionEvent& e) { seen.push_back(e); });
    sim.Session().InjectSessionChange(SessionChange::Lock);
    EXPECT_TRUE(seen.empty()) << "nobody registered, nobody told";

    const WindowHandle main{3};
    const WindowHandle second{4};
    ASSERT_TRUE(sim.Session().RegisterSessionNotification(main, true));
    ASSERT_TRUE(sim.Session().RegisterSessionNotification(second, false));
    ASSERT_TRUE(sim.Session().RegisterSessionNotification(main, true));  // once per window, not twice
    sim.Session().InjectSessionChange(SessionChange::ConsoleDisconnect, 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].target, main);
    EXPECT_EQ(seen[1].target, second);
    EXPECT_EQ(seen[0].change, SessionChange::ConsoleDisconnect);
    EXPECT_EQ(seen[0].sessionId, 2u);

    EXPECT_TRUE(sim.Session().UnregisterSessionNotification(main));
    EXPECT_FALSE(sim.Session().UnregisterSessionNotification(main));
    sim.Session().InjectSessionChange(SessionChange::Logoff);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].target, second);
    EXPECT_EQ(seen[2].change, SessionChange::Logoff);
}

TEST(SimSessionTest, HandlerMayUnregisterWhileAnEventIsBeingDelivered) {
    SimPlatform sim;
    const WindowHandle main{3};
    ASSERT_TRUE(sim.Session().RegisterSessionNotification(main, true));
    int calls = 0;
    sim.Session().SetSessionHandler([&](const SessionEvent& e) {
        ++calls;
        // What the program's log-off handling does: it undoes its registration on the way out.
        EXPECT_TRUE(sim.Session().UnregisterSessionNotification(e.target));
    });
    sim.Session().InjectSessionChange(SessionChange::Logoff);
    sim.Session().InjectSessionChange(SessionChange::Logoff);
    EXPECT_EQ(calls, 1);
}

TEST(SimSoundTest, RequestsAreRecordedWithVirtualTimeAndMissingFilesPlayNothing) {
    SimPlatform sim;
    TempFolder folder;
    const std::wstring chime = folder.Wide(L"CameraOn.wav");
    {
        std::ofstream(folder.Path() / "CameraOn.wav") << "RIFF";
    }
    sim.Clock().SetNow(5000);
    EXPECT_TRUE(sim.Sound().PlaySoundFile(chime));
    sim.Clock().Sleep(250);
    EXPECT_FALSE(sim.Sound().PlaySoundFile(folder.Wide(L"click.wav")));

    const auto& requests = sim.Sound().Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, chime);
    EXPECT_EQ(requests[0].at, 5000u);
    EXPECT_TRUE(requests[0].found);
    EXPECT_EQ(requests[1].at, 5250u);
    EXPECT_FALSE(requests[1].found);
}

}  // namespace
