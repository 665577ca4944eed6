// The main window through devices that come and go, sleep and resume, session changes and the
// full-screen preview, on the sim.
#include <cstdio>

#include "AppMessages.h"
#include "MainWindowFixture.h"
#include "Recording.h"
#include "SystemEvents.h"
#include "resources/Catalogue.h"

namespace {

using platform::SessionChange;
using platform::sim::SimGraphRecord;

class SystemEventsTest : public MainWindowTest {
protected:
    SystemEventsTest() {
        g_bGraphBusy = g_bSuspended = false;
        g_bCameraPresent = true;
        g_nVideoNumber = 0;
        g_bStartClickWaiting = g_bStartSecondClick = g_bStopClickWaiting = g_bStopSecondClick = false;
        Sim().Media().AddCamera(L"Cam 2", {{352, 288}, {640, 480}});
        Sim().Media().AddCamera(L"Cam 3", {{352, 288}, {640, 480}});
        Sim().Media().AddMicrophone(L"Mic");
        Store(L"VideoPath", (m_videos.Wide() + L"/").c_str());
    }

    SimGraphRecord* LiveGraph() {
        for (auto it = Sim().Media().Graphs().rbegin(); it != Sim().Media().Graphs().rend(); ++it)
            if (!(*it)->IsReleased()) return it->get();
        return nullptr;
    }
    SimGraphRecord* Recorder() {
        for (auto it = Sim().Media().Graphs().rbegin(); it != Sim().Media().Graphs().rend(); ++it)
            if ((*it)->Filter(L"ASF Writer")) return it->get();
        return nullptr;
    }
    bool Running() { return LiveGraph() && LiveGraph()->stateChanges.back().requested == State_Running; }
    bool Shown(int id) { return Control(id).visible; }
    bool Enabled(int id) { return Control(id).enabled; }
    void StartRecording() {
        m_dlg.SendMessage(WM_CONTROL_COMMAND, CONTROL_RECORD_START, 0);
        ASSERT_TRUE(m_dlg.m_bRecording);
    }
    // Idle on a running preview: the record button back, snapshots possible, no clock.
    void ExpectIdlePreview() {
        EXPECT_FALSE(m_dlg.m_bRecording);
        EXPECT_TRUE(m_dlg.m_bPreviewGraph);
        EXPECT_FALSE(Ui().HasTimer(m_dlg.GetSafeHwnd(), TIMER_RECORD));
        EXPECT_TRUE(Shown(IDC_BTN_RECORD_START));
        EXPECT_TRUE(Enabled(IDC_BTN_RECORD_START));
        EXPECT_FALSE(Shown(IDC_BTN_RECORD_STOP));
        EXPECT_TRUE(Enabled(IDC_BTN_SNAPSHOT));
        EXPECT_EQ(Sim().Media().LiveGraphCount(), 1);
        EXPECT_TRUE(Running());
    }
    // The recording's graph stopped and let go: its file is complete.
    void ExpectRecordingFinished() {
        ASSERT_TRUE(Recorder());
        EXPECT_TRUE(Recorder()->IsReleased());
        EXPECT_EQ(Recorder()->stateChanges.back().requested, State_Stopped);
    }
    std::vector<std::wstring> Boxes() {
        std::vector<std::wstring> texts;
        for (const auto& box : Ui().MessageBoxes()) texts.push_back(box.text);
        return texts;
    }
    // For death tests: the process's last words name the boxes it showed and whether a
    // recording's graph was taken down before the end.
    void SayAtExit() {
        Sim().Processes().SetExitHook([this](int) {
            for (const std::wstring& box : Boxes()) std::fprintf(stderr, "box: %s\n", platform::ToUtf8(box).c_str());
            if (Recorder()) std::fprintf(stderr, "recording finished: %d\n", Recorder()->IsReleased() ? 1 : 0);
        });
    }

    TempFolder m_videos;
};

TEST_F(SystemEventsTest, UnpluggingACameraKeepsOrMovesThePreviewAsTheUserWouldExpect) {
    const struct {
        const char* what;
        const wchar_t* inUse;
        const wchar_t* unplugged;
        bool recording;
        const wchar_t* after;
        bool rebuilt;
    } cases[] = {
        {"the camera in use, two left", L"Cam 2", L"Cam 2", false, L"Cam", true},
        {"the last listed camera in use", L"Cam 3", L"Cam 3", false, L"Cam 2", true},
        {"the first camera in use", L"Cam", L"Cam", false, L"Cam 2", true},
        {"a camera not in use, before it", L"Cam 3", L"Cam", false, L"Cam 3", false},
        {"a camera not in use, after it", L"Cam", L"Cam 3", false, L"Cam", false},
        {"the camera in use while recording", L"Cam 2", L"Cam 2", true, L"Cam", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Store(L"LastCamera", c.inUse);
        Run([&] {
            ASSERT_EQ(m_dlg.m_strCameraName, c.inUse);
            if (c.recording) {
                ASSERT_NO_FATAL_FAILURE(StartRecording());
            }
            SimGraphRecord* before = LiveGraph();
            ASSERT_TRUE(Sim().Media().Unplug(c.unplugged));
            EXPECT_EQ(m_dlg.m_strCameraName, c.after);
            EXPECT_EQ(m_dlg.m_arrVideoDevices.size(), 2u);
            EXPECT_EQ(m_dlg.m_arrVideoDevices[static_cast<size_t>(m_dlg.m_nVideoDevice)], c.after);
            EXPECT_EQ(LiveGraph() != before, c.rebuilt);
            if (c.recording) ExpectRecordingFinished();
            ExpectIdlePreview();
            EXPECT_EQ(Ui().Cursor(), platform::CursorKind::None);
        });
        EXPECT_TRUE(Sim().Media().Replug(c.unplugged));
        EXPECT_TRUE(Ui().MessageBoxes().empty());
    }
}

TEST_F(SystemEventsTest, APluggedCameraIsListedAndThePreviewGoesOn) {
    Run([&] {
        SimGraphRecord* before = LiveGraph();
        Sim().Media().PlugCamera(L"New Cam");
        EXPECT_EQ(m_dlg.m_arrVideoDevices.back(), L"New Cam");
        EXPECT_EQ(LiveGraph(), before);
        EXPECT_EQ(m_dlg.m_strCameraName, L"Cam");
    });
}

TEST_F(SystemEventsTest, DeviceEventsWaitForNothingWhileTheGraphIsBusyOrTheMachineSleeps) {
    const struct {
        const char* what;
        bool busy, suspended;
    } cases[] = {{"busy", true, false}, {"suspended", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            g_bGraphBusy = c.busy;
            g_bSuspended = c.suspended;
            SimGraphRecord* before = LiveGraph();
            ASSERT_TRUE(Sim().Media().Unplug(L"Cam"));
            Sim().Media().PlugCamera(L"New Cam");
            EXPECT_EQ(m_dlg.m_arrVideoDevices.size(), 3u) << "not enumerated again";
            EXPECT_EQ(LiveGraph(), before);
            g_bGraphBusy = g_bSuspended = false;
        });
        (void)Sim().Media().Replug(L"Cam");
        (void)Sim().Media().Unplug(L"New Cam");
    }
}

using SystemEventsDeathTest = SystemEventsTest;

TEST_F(SystemEventsDeathTest, TheLastCameraGoneTellsTheUserAndEndsTheProgramWithItsRecordingFinished) {
    for (bool recording : {false, true}) {
        SCOPED_TRACE(recording ? "recording" : "preview");
        EXPECT_EXIT(
            Run([&] {
                if (recording) StartRecording();
                SayAtExit();
                Ui().ExpectMessageBox(IDOK);
                (void)Sim().Media().Unplug(L"Cam 3");
                (void)Sim().Media().Unplug(L"Cam 2");
                (void)Sim().Media().Unplug(L"Cam");
            }),
            testing::ExitedWithCode(0),
            "box: " + platform::ToUtf8(GetCatalogueText(6001)) + (recording ? "\nrecording finished: 1" : ""));
    }
}

TEST_F(SystemEventsTest, ASleepAskedForIsRefusedWithTheReason) {
    Run([&] {
        for (bool recording : {false, true}) {
            if (recording) {
                ASSERT_NO_FATAL_FAILURE(StartRecording());
            }
            Ui().ExpectMessageBox(IDOK);
            EXPECT_FALSE(Sim().Power().InjectQuerySuspend());
        }
        EXPECT_EQ(Boxes(), (std::vector<std::wstring>{GetCatalogueText(6041), GetCatalogueText(6041)}));
        EXPECT_TRUE(m_dlg.m_bRecording) << "a refused sleep leaves the recording alone";
        Ui().ExpectMessageBox(IDOK);  // the close asks about the recording
    });
    EXPECT_EQ(Sim().Power().SleepRefusalText(), GetCatalogueText(6041));
}

TEST_F(SystemEventsTest, AfterASleepThePreviewComesBackWhileTheWindowAnswers) {
    Run([&] {
        Sim().Power().InjectSuspend();
        EXPECT_TRUE(g_bSuspended);
        EXPECT_EQ(LiveGraph()->stateChanges.back().requested, State_Paused);

        // The camera needs about 90 s to come back (each failed build takes 3 s with its own
        // retries): a try each second between them, the user told once after a minute.
        Sim().Media().Fail("Run", E_FAIL, 30 * 3);
        const uint64_t resumed = Sim().Clock().Now();
        Sim().Power().InjectResume();
        EXPECT_TRUE(g_bGraphBusy);
        EXPECT_FALSE(Enabled(IDC_BTN_RECORD_START));
        EXPECT_EQ(Ui().Cursor(), platform::CursorKind::Wait);
        uint64_t toldAfter = 0;
        Ui().ExpectMessageBox(IDOK, [&] { toldAfter = Sim().Clock().Now() - resumed; });
        for (int second = 0; second < 200 && g_bGraphBusy; ++second) Ui().Advance(1000);
        EXPECT_GT(toldAfter, 60'000u);
        EXPECT_LT(toldAfter, 64'000u);
        EXPECT_GT(Sim().Clock().Now() - resumed, 89'000u) << "the tries went on after the message";
        EXPECT_FALSE(g_bGraphBusy);
        EXPECT_FALSE(g_bSuspended);
        EXPECT_EQ(Boxes(), std::vector<std::wstring>{GetCatalogueText(6044)});
        ExpectIdlePreview();
        EXPECT_EQ(Ui().Cursor(), platform::CursorKind::None);
    });
}

TEST_F(SystemEventsTest, AResumeDuringARecordingFinishesItsFileAndBringsThePreviewBack) {
    const struct {
        const char* what;
        bool stoppedMeanwhile;  // the graph did not stay paused through the sleep
        int failedBuilds;
    } cases[] = {{"paused", false, 0}, {"paused, one build failing", false, 1}, {"stopped", true, 0},
                 {"stopped, three passes failing", true, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            ASSERT_NO_FATAL_FAILURE(StartRecording());
            Sim().Power().InjectSuspend();
            if (c.stoppedMeanwhile) {
                ComPtr<IMediaControl> control;
                ASSERT_EQ(m_dlg.m_pGraph.As(control), S_OK);
                (void)control->Stop();
            }
            SimGraphRecord* recorder = Recorder();
            Sim().Media().Fail("Run", E_FAIL, c.failedBuilds * 3);
            Sim().Power().InjectResume();
            EXPECT_TRUE(recorder->IsReleased());
            ExpectRecordingFinished();
            ExpectIdlePreview();
            EXPECT_FALSE(g_bGraphBusy);
            EXPECT_FALSE(g_bSuspended);
            EXPECT_EQ(Ui().Cursor(), platform::CursorKind::None);
        });
        EXPECT_TRUE(Ui().MessageBoxes().empty());
    }
}

TEST_F(SystemEventsDeathTest, AResumeWhoseRebuildsAllFailEndsTheProgram) {
    const struct {
        const char* what;
        bool stoppedMeanwhile;
        const char* lastWords;
    } cases[] = {{"paused: four attempts", false, "recording finished: 1"},
                 {"stopped: the fifth pass tells the user",
                  true, "box: Please try reconnecting the camera & restarting the application again\nrecording finished: 1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(
            Run([&] {
                StartRecording();
                Sim().Power().InjectSuspend();
                if (c.stoppedMeanwhile) {
                    ComPtr<IMediaControl> control;
                    (void)m_dlg.m_pGraph.As(control);
                    (void)control->Stop();
                }
                SayAtExit();
                Ui().ExpectMessageBox(IDOK);
                Sim().Media().Fail("Run", E_FAIL, -1);
                Sim().Power().InjectResume();
            }),
            testing::ExitedWithCode(0), c.lastWords);
    }
}

TEST_F(SystemEventsTest, SessionChangesStopARecordingOnlyWhereTheSystemAsksForIt) {
    const struct {
        const char* what;
        uint32_t minor;  // 0: the system version whose console disconnect ends the recording
        bool stopped;
    } cases[] = {{"console disconnect, version 6.0", 0, true}, {"console disconnect, other versions", 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sim().SystemInfo().SetSystemVersion(platform::SystemVersion{platform::kPlatformWin32Nt, 6, c.minor, 6000, L""});
        Run([&] {
            ASSERT_NO_FATAL_FAILURE(StartRecording());
            Sim().Session().InjectSessionChange(SessionChange::ConsoleDisconnect);
            EXPECT_EQ(!m_dlg.m_bRecording, c.stopped);
            if (c.stopped) {
                ExpectRecordingFinished();
                ExpectIdlePreview();
            }
            Sim().Session().InjectSessionChange(SessionChange::ConsoleConnect);
            EXPECT_EQ(!m_dlg.m_bRecording, c.stopped);
            if (m_dlg.m_bRecording) Ui().ExpectMessageBox(IDOK);
        });
    }
}

TEST_F(SystemEventsDeathTest, ALogOffSavesTheSettingsAndFinishesTheRecordingBeforeTheEnd) {
    EXPECT_EXIT(
        Run([&] {
            StartRecording();
            Sim().Processes().SetExitHook([this](int) {
                std::fprintf(stderr, "saved camera: %s\n",
                             Sim().Registry().Value(kSettingsKey, L"LastCamera").has_value() ? "yes" : "no");
                std::fprintf(stderr, "recording finished: %d\n", Recorder()->IsReleased() ? 1 : 0);
            });
            Sim().Session().InjectSessionChange(SessionChange::Logoff);
        }),
        testing::ExitedWithCode(0), "saved camera: yes\nrecording finished: 1");
}

TEST_F(SystemEventsTest, ACollapsedPreviewLetsTheDisplayAndTheConsoleTakeAndGiveTheGraph) {
    const struct {
        const char* what;
        bool collapsed, busy;
        bool display;  // else the console disconnect
        bool graphAfter;
    } cases[] = {
        {"display change, preview shown", false, false, true, true},
        {"display change, collapsed", true, false, true, false},
        {"display change, collapsed, busy", true, true, true, true},
        {"console disconnect, collapsed", true, false, false, false},
    };
    Sim().SystemInfo().SetSystemVersion(platform::SystemVersion{platform::kPlatformWin32Nt, 6, 0, 6000, L""});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            m_dlg.m_dlgControlBar.m_bPreview = c.collapsed ? 0 : 1;
            g_bGraphBusy = c.busy;
            if (c.display)
                Sim().Session().InjectDisplayChange({32, 1024, 768});
            else
                Sim().Session().InjectSessionChange(SessionChange::ConsoleDisconnect);
            g_bGraphBusy = false;
            EXPECT_EQ(m_dlg.m_pGraph != nullptr, c.graphAfter);
            if (!c.collapsed) return;
            // The console back: a graph built but not run, as after the display change.
            m_dlg.TearDownGraph();
            Sim().Session().InjectSessionChange(SessionChange::ConsoleConnect);
            ASSERT_TRUE(m_dlg.m_pGraph);
            EXPECT_NE(LiveGraph()->stateChanges.empty() ? State_Stopped : LiveGraph()->stateChanges.back().requested,
                      State_Running);
            m_dlg.m_dlgControlBar.m_bPreview = 1;
        });
    }
}

TEST_F(SystemEventsTest, FullScreenEndsOnAKeyAtOnceAndOnAMouseMoveOnlyAfterTwoSeconds) {
    Run([&] {
        const HWND window = m_dlg.GetSafeHwnd();
        auto fullScreen = [&] { return LiveGraph()->window.fullScreen; };
        EXPECT_TRUE(Ui().KeyDown(window, VK_F11));
        EXPECT_TRUE(fullScreen());
        EXPECT_EQ(LiveGraph()->window.drain, window);
        Ui().Advance(1900);
        Ui().MouseMove(window, {10, 10});
        EXPECT_TRUE(fullScreen()) << "the move within two seconds";
        Ui().Advance(200);
        Ui().MouseMove(window, {12, 10});
        EXPECT_FALSE(fullScreen());
        EXPECT_EQ(LiveGraph()->window.width, 640);
        EXPECT_TRUE(Sim().Power().IsScreenSaverActive()) << "switched back on while the preview is small";

        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_FULL_SCREEN, 0));
        EXPECT_TRUE(fullScreen());
        EXPECT_FALSE(Sim().Power().IsScreenSaverActive());
        (void)Ui().KeyDown(window, VK_SPACE);
        EXPECT_FALSE(fullScreen());
    });
}

TEST_F(SystemEventsTest, AScreenSaverBackOnBehindTheProgramIsSwitchedOffAgain) {
    Run([&] {
        ASSERT_FALSE(Sim().Power().IsScreenSaverActive());
        Sim().Power().InjectScreenSaverRestart();
        EXPECT_FALSE(Sim().Power().IsScreenSaverActive());
        EXPECT_TRUE(m_dlg.m_bScreenSaverActive);
    });
}

}  // namespace
