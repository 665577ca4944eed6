#include "AppMessages.h"
#include "TaviApp.h"
#include "TempFolder.h"
#include "resources/ResourceIds.h"
#include "resources/Resources.h"
#include "CaptureFixture.h"
#include "settings/RegistryValues.h"

namespace {

using platform::kEsContinuous;
using platform::kEsDisplayRequired;
using platform::kEsSystemRequired;

class StartupTest : public SimTest {
protected:
    StartupTest() : SimTest(ProgramResources()) {
        ResetDiagnosticLog();
        Sim().Processes().SetModulePath(m_folder.Wide(L"vistrel"));
        g_grabberCB.m_pDlg = nullptr;
        Media().SetEffectFilterRegistered(true);
    }
    ~StartupTest() override { ResetDiagnosticLog(); }

    platform::sim::SimMedia& Media() { return Sim().Media(); }
    void Store(const std::wstring& name, const std::wstring& text) {
        Sim().Registry().SetValue(kSettingsKey, name, text);
    }
    std::string Log() const { return m_folder.Read("TAVI_Log.txt"); }

    // Runs the main window until `whileRunning` has looked at it, then closes it as the close
    // box does. Returns the modal result.
    INT_PTR Run(CTaviDlg& dlg, std::function<void()> whileRunning = {}) {
        Ui().Queue([&, whileRunning] {
            if (whileRunning) whileRunning();
            Ui().RequestClose(dlg.GetSafeHwnd());
        });
        return dlg.DoModal();
    }

    // The camera of each graph that got as far as holding one, in order.
    std::vector<std::wstring> CamerasTried() {
        std::vector<std::wstring> names;
        for (const auto& graph : Media().Graphs()) {
            if (auto* cap = graph->FilterAs<platform::sim::SimFilterCamera>(L"Cap")) names.push_back(cap->Camera().name);
        }
        return names;
    }

    const platform::sim::SimWindow* Control(const CTaviDlg& dlg, int id) {
        return Ui().Find(Ui().FindControl(dlg.GetSafeHwnd(), id));
    }

    TempFolder m_folder;
};

TEST_F(StartupTest, SecondInstanceAnnouncesItselfAndShowsNothing) {
    Sim().Instance().SetHeldElsewhere(L"VISTREL", true);
    Media().AddCamera(L"Cam");
    CTaviApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_EQ(Sim().Instance().Announcements(), (std::vector<std::wstring>{L"VISTREL"}));
    EXPECT_TRUE(Sim().Sound().Requests().empty()) << "nothing of the start-up ran";
    EXPECT_TRUE(Media().Graphs().empty());
    EXPECT_TRUE(Ui().MessageBoxes().empty());
}

TEST_F(StartupTest, ASecondStartRestoresTheMinimisedWindowAndBringsItToTheFront) {
    Media().AddCamera(L"Cam");
    CTaviApp app;
    Ui().Queue([&] {
        const HWND main = AfxGetMainWnd()->GetSafeHwnd();
        Ui().Minimize(main);
        ASSERT_EQ(Ui().GetShowState(main), platform::ShowState::Minimized);
        Sim().Instance().InjectAnnouncement(L"VISTREL");
        EXPECT_EQ(Ui().GetShowState(main), platform::ShowState::Normal);
        EXPECT_EQ(Ui().Foreground(), main);
        for (platform::WindowHandle other : Ui().TopLevelWindows()) {
            if (other != main) {
                EXPECT_GT(Ui().Find(main)->zOrder, Ui().Find(other)->zOrder);
            }
        }
        Ui().RequestClose(main);
    });
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_TRUE(Ui().Failures().empty());
}

TEST_F(StartupTest, ASecondStartDuringTheStartUpShowsTheWindowNoEarlier) {
    bool shownEarly = true;
    Ui().ExpectMessageBox(IDOK, [&] {  // no camera: the start-up's message, before the window shows
        Sim().Instance().InjectAnnouncement(L"VISTREL");
        shownEarly = Ui().Find(AfxGetMainWnd()->GetSafeHwnd())->visible;
    });
    CTaviApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_FALSE(shownEarly);
    EXPECT_FALSE(Ui().Foreground());
}

TEST_F(StartupTest, FirstInstanceRunsTheWindowAndReleasesTheLockAfterwards) {
    Media().AddCamera(L"Cam");
    CTaviApp app;
    bool sawWindow = false;
    Ui().Queue([&] {
        sawWindow = AfxGetMainWnd() != nullptr && Sim().Instance().IsHeld(L"VISTREL");
        Ui().RequestClose(AfxGetMainWnd()->GetSafeHwnd());
    });
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_TRUE(sawWindow);
    EXPECT_FALSE(Sim().Instance().IsHeld(L"VISTREL"));
}

TEST_F(StartupTest, NormalStartPreviewsAndUndoesItsSystemChangesAtTheEnd) {
    Media().AddCamera(L"Cam", {{352, 288}, {640, 480}});
    Sim().Power().SetScreenSaverSetting(true);
    CTaviDlg dlg;
    EXPECT_EQ(Run(dlg, [&] {
                  EXPECT_EQ(Media().LastGraph()->stateChanges.back().requested, State_Running);
                  auto* notice = Control(dlg, IDC_STATIC_SCREENSAVER);
                  ASSERT_NE(notice, nullptr);
                  EXPECT_TRUE(notice->visible);
                  EXPECT_EQ(notice->text, L"Screen saver disabled");
                  Ui().Advance(59999);
                  EXPECT_TRUE(notice->visible) << "the notice stays a whole minute";
                  Ui().Advance(1);
                  EXPECT_FALSE(notice->visible);
                  EXPECT_EQ(notice->text, L"");
                  EXPECT_EQ(dlg.m_nScreenSaverTimer, 0u);
                  EXPECT_FALSE(Control(dlg, IDC_BTN_RECORD_STOP)->visible);
                  EXPECT_EQ(g_hMainWnd, dlg.GetSafeHwnd());
              }),
              IDCANCEL);
    EXPECT_EQ(dlg.m_nInitState, 1);
    ASSERT_EQ(Sim().Sound().Requests().size(), 1u);
    EXPECT_EQ(Sim().Sound().Requests()[0].path, m_folder.Wide(L"CameraOn.wav"));

    auto& switches = Sim().Power().ScreenSaverSwitches();
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_FALSE(switches[0].on);
    EXPECT_TRUE(switches[1].on) << "switched on again at the end";
    EXPECT_TRUE(switches[1].writeToProfile);
    auto& states = Sim().Power().ExecutionStateCalls();
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0].flags, kEsContinuous | kEsSystemRequired | kEsDisplayRequired);
    EXPECT_EQ(states[1].flags, kEsContinuous);
    EXPECT_TRUE(Media().LastGraph()->IsReleased()) << "the close request tears the graph down";
    EXPECT_EQ(Media().NotificationRegistrations(), 1);
}

TEST_F(StartupTest, StoredCameraIsChosenByExactNameElseTheFirst) {
    Media().AddCamera(L"Front");
    Media().AddCamera(L"Back");
    {
        Store(L"LastCamera", L"Back");
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_strCameraName, L"Back");
    }
    {
        Store(L"LastCamera", L"back");
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_strCameraName, L"Front");
    }
}

TEST_F(StartupTest, StoredCameraThatFailsTwiceFallsBackFromTheFirstCameraOn) {
    Media().AddCamera(L"Cam0");
    Media().AddCamera(L"Cam1");
    Media().AddCamera(L"Cam2");
    // Every build of the first six fails late, so each graph shows which camera it tried.
    Media().Fail("Connect:Grabber->Video Renderer", E_FAIL, 6);
    Store(L"LastCamera", L"Cam2");
    CTaviDlg dlg;
    EXPECT_EQ(Run(dlg), IDCANCEL);
    EXPECT_EQ(CamerasTried(), (std::vector<std::wstring>{L"Cam2", L"Cam2", L"Cam0", L"Cam0", L"Cam1", L"Cam1", L"Cam2"}));
    EXPECT_EQ(dlg.m_nInitState, 1);
}

TEST_F(StartupTest, SecondBuildAfterRegisteringTheEffectFilterIsLoggedAsSuccess) {
    Media().AddCamera(L"Cam");
    Media().SetEffectFilterRegistered(false);
    CTaviDlg dlg;
    bool registered = false;
    Ui().Queue([&] {
        registered = Media().EffectFilterRegistered();
        Ui().RequestClose(dlg.GetSafeHwnd());
    });
    // What the registration tool does: the filter is known when the next build looks.
    Sim().Processes().SetRunHook([&](const std::vector<std::wstring>&) { Media().SetEffectFilterRegistered(true); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(registered);
    EXPECT_EQ(Log(), "\n Failed to add effect filter"
                     "Registering Video Effect...\n success");
}

TEST_F(StartupTest, NoCameraShowsTheMessageAndLeavesTheSystemAlone) {
    Ui().ExpectMessageBox(IDOK);
    CTaviDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.m_nInitState, 0);
    ASSERT_EQ(Ui().MessageBoxes().size(), 1u);
    EXPECT_EQ(Ui().MessageBoxes()[0].text, L"No video capture device was detected on your system.");
    EXPECT_EQ(Ui().MessageBoxes()[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_TRUE(Sim().Power().ScreenSaverSwitches().empty());
    EXPECT_TRUE(Sim().Power().ExecutionStateCalls().empty());
}

TEST_F(StartupTest, EveryCameraFailingShowsTheFixedMessageAndRestoresTheScreenSaver) {
    Media().AddCamera(L"Cam0").busy = true;
    Media().AddCamera(L"Cam1").busy = true;
    Sim().Power().SetScreenSaverSetting(true);
    Ui().ExpectMessageBox(IDOK);
    CTaviDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.m_nInitState, 2);
    EXPECT_EQ(dlg.m_nVideoDevice, 0);
    ASSERT_EQ(Ui().MessageBoxes().size(), 1u);
    EXPECT_EQ(Ui().MessageBoxes()[0].text, L"Camera is not ready or already in use. Please check.");
    EXPECT_EQ(Ui().MessageBoxes()[0].Icon(), 0u);
    EXPECT_EQ(Ui().MessageBoxes()[0].caption, AfxGetAppName());
    EXPECT_TRUE(Log().ends_with("\n Camera is not ready or already in use. Please check."));
    ASSERT_EQ(Sim().Power().ScreenSaverSwitches().size(), 2u);
    EXPECT_TRUE(Sim().Power().ScreenSaverSwitches()[1].on);
    EXPECT_EQ(Sim().Power().ExecutionState(), kEsContinuous);
}

TEST_F(StartupTest, EscapeAndReturnDoNotCloseTheWindow) {
    Media().AddCamera(L"Cam");
    CTaviDlg dlg;
    bool stillOpen = false;
    EXPECT_EQ(Run(dlg, [&] {
                  Ui().KeyDown(dlg.GetSafeHwnd(), VK_ESCAPE);
                  Ui().KeyDown(dlg.GetSafeHwnd(), VK_RETURN);
                  stillOpen = dlg.IsModal();
              }),
              IDCANCEL);
    EXPECT_TRUE(stillOpen);
}

TEST_F(StartupTest, StoredModeIsFittedToTheCamerasCapabilityCode) {
    struct Case {
        std::vector<platform::Size> sizes;
        int stored;
        int expected;
    };
    const Case cases[] = {
        {{{352, 288}}, 2, 0},                          // code 1
        {{{352, 288}, {640, 480}}, 2, 1},              // code 3
        {{{352, 288}, {640, 480}, {1280, 1024}}, 2, 2},  // code 7
        {{{720, 480}}, 1, 8},                          // code 8
        {{{640, 480}}, 2, 2},                          // code 2: no entry, the loaded mode stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Media().AddCamera(L"Cam", c.sizes);
        Store(L"ResolutionMode", std::to_wstring(c.stored));
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_nResolution, c.expected);
        Media().Unplug(L"Cam");
    }
}

TEST_F(StartupTest, TerminationEndsLikeTheCloseBoxWithoutAsking) {
    Media().AddCamera(L"Cam");
    CTaviDlg dlg;
    Ui().Queue([&] {
        dlg.m_bRecording = 1;
        EXPECT_TRUE(Sim().Session().InjectTermination());
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(Ui().MessageBoxes().empty());
    EXPECT_EQ(dlg.m_bRecording, 0);
    EXPECT_TRUE(Media().LastGraph()->IsReleased());
}

}  // namespace
