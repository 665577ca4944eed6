#include "CaptureFixture.h"

namespace {

using platform::Size;
using platform::sim::SimConnection;
using platform::sim::SimFilterEffect;
using How = SimConnection::How;

class BuildGraphTest : public CaptureTest {
protected:
    // One camera, the effect filter registered, the lists filled as at start-up.
    void SetUpMachine(std::vector<Size> sizes = {{352, 288}, {640, 480}, {1280, 1024}}) {
        Media().AddCamera(L"Cam", std::move(sizes));
        Media().SetEffectFilterRegistered(true);
        ASSERT_EQ(Dlg().EnumerateDevices(), 0);
        Media().ClearLog();
    }
    platform::sim::SimGraphRecord& Graph() { return *Media().LastGraph(); }
};

TEST_F(BuildGraphTest, PreviewGraphHasTheNamedFiltersJoinedAsPlannedAndRuns) {
    SetUpMachine();
    Dlg().m_nToneEffect = 0;
    Dlg().m_nMirror = 4;
    Dlg().m_bGreen = 0;

    ASSERT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    auto& graph = Graph();
    EXPECT_EQ(graph.FilterNames(),
              (std::vector<std::wstring>{L"Cap", L"Video Effect", L"Smart Tee1", L"Grabber", L"Video Renderer"}));
    EXPECT_EQ(graph.connections, (std::vector<SimConnection>{
                                     {L"Cap", 0, L"Video Effect", 0, How::Direct},
                                     {L"Video Effect", 0, L"Smart Tee1", 0, How::Intelligent},
                                     {L"Smart Tee1", 1, L"Grabber", 0, How::Intelligent},
                                     {L"Grabber", 0, L"Video Renderer", 0, How::Intelligent},
                                 }));
    EXPECT_EQ(graph.ConnectionFrom(L"Smart Tee1", 0), nullptr) << "capture output left for recording";
    ASSERT_EQ(graph.stateChanges.size(), 1u);
    EXPECT_EQ(graph.stateChanges[0].requested, State_Running);
    EXPECT_TRUE(graph.window.visible);
    EXPECT_EQ(graph.window.state, SW_SHOW_STATE);
    EXPECT_EQ(graph.window.width, 640);
    EXPECT_EQ(graph.window.height, 480);
    EXPECT_EQ(graph.window.style, 0x44800000);

    EXPECT_EQ(Dlg().m_strCameraName, L"Cam");
    EXPECT_EQ(g_grabberCB.m_lWidth, 640);
    EXPECT_EQ(g_grabberCB.m_lHeight, 480);
    EXPECT_EQ(g_grabberCB.m_pDlg, &Dlg());
    auto* effect = graph.FilterAs<SimFilterEffect>(L"Video Effect");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->Calls(), (std::vector<std::string>{"SetEffect 0 1 1 1", "SetMirror 4", "SetEffect -1 1 0 1"}));
    EXPECT_EQ(Log(), "") << "a good build logs nothing";
}

TEST_F(BuildGraphTest, ModeTextBuildsWithoutRunningOrShowing) {
    SetUpMachine();
    ASSERT_EQ(Dlg().BuildGraph(L"New Build"), S_OK);
    EXPECT_TRUE(Graph().stateChanges.empty());
    EXPECT_FALSE(Graph().window.visible);
    EXPECT_EQ(Graph().window.state, SW_HIDE_STATE);
}

TEST_F(BuildGraphTest, FrameSizeFollowsModeRecordingAndCapabilityCode) {
    struct Case {
        std::vector<Size> sizes;
        int mode;
        bool recording;
        Size expected;
        int window;
    };
    const Case cases[] = {
        {{{352, 288}, {640, 480}, {1280, 1024}}, 0, false, {352, 288}, 352},
        {{{352, 288}, {640, 480}, {1280, 1024}}, 1, false, {640, 480}, 640},
        {{{352, 288}, {640, 480}, {1280, 1024}}, 2, false, {1280, 1024}, 640},
        {{{352, 288}, {640, 480}, {1280, 1024}}, 2, true, {640, 480}, 640},
        {{{720, 480}}, 0, false, {720, 480}, 352},
        {{{720, 480}}, 2, false, {720, 480}, 640},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " recording " << c.recording);
        auto& camera = Media().AddCamera(L"Cam", c.sizes);
        Media().SetEffectFilterRegistered(true);
        ASSERT_EQ(Dlg().EnumerateDevices(), 0);
        Dlg().m_nResolution = c.mode;
        Dlg().m_bRecording = c.recording;
        ASSERT_EQ(Dlg().BuildGraph(L"Pause"), S_OK);
        EXPECT_EQ(camera.LastFormatSize(), std::optional<Size>(c.expected));
        EXPECT_EQ(g_grabberCB.m_lWidth, c.expected.cx);
        EXPECT_EQ(Graph().window.width, c.window);
        Dlg().TearDownGraph();
        Media().Unplug(L"Cam");
    }
}

TEST_F(BuildGraphTest, CameraWithoutCapabilityCodeIsNeverReadPastTheList) {
    // The second camera offers only 640 x 480: its entry says it has no code.
    Media().AddCamera(L"Good", {{352, 288}});
    Media().AddCamera(L"MediumOnly", {{640, 480}});
    Media().SetEffectFilterRegistered(true);
    ASSERT_EQ(Dlg().EnumerateDevices(), 0);
    ASSERT_EQ(Dlg().m_arrResolutionCaps, (std::vector<std::wstring>{L"1", L"0"}));
    Dlg().m_nVideoDevice = 1;
    Dlg().m_nResolution = 1;
    EXPECT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    EXPECT_EQ(Media().FindCamera(L"MediumOnly")->LastFormatSize(), std::optional<Size>(Size{640, 480}));

    Dlg().TearDownGraph();
    Dlg().m_nVideoDevice = 7;  // outside every list
    EXPECT_EQ(Dlg().BuildGraph(nullptr), E_FAIL);
    EXPECT_EQ(Log(), "\n Capture Filter not available");
}

TEST_F(BuildGraphTest, CameraWithoutRgbTypeGetsItsCurrentFormatResized) {
    auto& camera = Media().AddCamera(L"Yuv", {{352, 288}, {640, 480}});
    camera.rgb24 = false;
    Media().SetEffectFilterRegistered(true);
    ASSERT_EQ(Dlg().EnumerateDevices(), 0);
    ASSERT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    ASSERT_FALSE(camera.setFormatCalls.empty());
    EXPECT_EQ(camera.setFormatCalls.back().type.subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(camera.LastFormatSize(), std::optional<Size>(Size{640, 480}));
    // Not taken directly by the effect filter: joined intelligently instead.
    EXPECT_EQ(Graph().connections.front().how, How::Intelligent);
}

TEST_F(BuildGraphTest, BusyCameraIsTriedFourTimesWithThreePauses) {
    SetUpMachine();
    Media().FindCamera(L"Cam")->busy = true;
    uint64_t start = Now();
    EXPECT_EQ(Dlg().BuildGraph(nullptr), E_FAIL);
    EXPECT_EQ(Media().Attempts("AddFilter:Cap"), 4);
    EXPECT_EQ(Now() - start, 1500u);
    EXPECT_EQ(Log(), "\n Capture filter could not be added to graph");
}

TEST_F(BuildGraphTest, EveryFailingStepLeavesItsLineAndCode) {
    struct Case {
        const char* fail;
        HRESULT code;
        const char* line;
        HRESULT expected;
    };
    const HRESULT kCode = static_cast<HRESULT>(0x80040100u);
    const Case cases[] = {
        {"CreateInstance:FilterGraph", kCode, "\n Could not create filter graph", E_FAIL},
        {"CreateInstance:CaptureGraphBuilder2", kCode, "\n Can't get a ICaptureGraphBuilder2 reference", kCode},
        {"SetFiltergraph", kCode, "\n SetFiltergraph failed", kCode},
        {"AddFilter:Smart Tee1", kCode, "\n Unable to add Smart tee filter", E_FAIL},
        {"CreateInstance:SampleGrabber", kCode, "\n Could not create SampleGrabber (is qedit.dll registered?)", kCode},
        {"SetMediaType", kCode, "\n Could not set media type", kCode},
        {"AddFilter:Grabber", kCode, "\n Could not put sample grabber in graph", kCode},
        {"Connect:Smart Tee1->Grabber", kCode, "\n Connect failed", kCode},
        {"CreateInstance:SmartTee", kCode, "\n Connect failed", E_POINTER},
        {"Connect:Grabber->Video Renderer", kCode, "\n Connect1 failed", kCode},
        {"GetConnectedMediaType", kCode, "\n Could not read the connected media type", kCode},
    };
    SetUpMachine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail);
        ResetDiagnosticLog();
        std::wstring folder;
        GetExeFolder(folder);
        Media().ClearFailures();
        Media().Fail(c.fail, c.code);
        HRESULT hr = Dlg().BuildGraph(nullptr);
        EXPECT_EQ(hr, c.expected);
        EXPECT_EQ(Log(), c.line);
        Dlg().TearDownGraph();
    }
}

TEST_F(BuildGraphTest, CameraAndEffectJoinFallsBackToIntelligentThenRender) {
    SetUpMachine();
    Media().Fail("ConnectDirect:Cap->Video Effect");
    ASSERT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    EXPECT_EQ(Graph().connections.front().how, How::Intelligent);
    Dlg().TearDownGraph();

    Media().Fail("ConnectDirect:Cap->Video Effect");
    Media().Fail("Connect:Cap->Video Effect");
    ASSERT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    EXPECT_EQ(Graph().connections.front().how, How::Render);
    Dlg().TearDownGraph();

    Media().Fail("ConnectDirect:Cap->Video Effect");
    Media().Fail("Connect:Cap->Video Effect");
    Media().Fail("RenderStream");
    EXPECT_EQ(Dlg().BuildGraph(nullptr), E_FAIL);
    EXPECT_EQ(Log(), "\n RenderStream failed");
}

TEST_F(BuildGraphTest, RunIsTriedThreeTimesWithPausesOfOneSecond) {
    SetUpMachine();
    Media().Fail("Run", E_FAIL, 2);
    uint64_t start = Now();
    EXPECT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    EXPECT_EQ(Now() - start, 2000u);
    Dlg().TearDownGraph();

    const HRESULT kCode = static_cast<HRESULT>(0x80040227u);
    Media().Fail("Run", kCode, 3);
    EXPECT_EQ(Dlg().BuildGraph(nullptr), kCode);
    EXPECT_EQ(Log(), "\n Could not run graph");
    Dlg().TearDownGraph();

    // A graph without a media control has nothing to run and nothing to retry.
    Media().Fail("QueryInterface:MediaControl", E_NOINTERFACE, -1);
    start = Now();
    EXPECT_EQ(Dlg().BuildGraph(nullptr), E_NOINTERFACE);
    EXPECT_EQ(Now() - start, 0u) << "no pauses between retries that cannot happen";
    EXPECT_EQ(Log(), "\n Could not run graph\n Could not run graph");
}

TEST_F(BuildGraphTest, NoCameraFailsAtOnceWithoutALogLine) {
    EXPECT_EQ(Dlg().BuildGraph(nullptr), E_FAIL);
    EXPECT_TRUE(Media().Graphs().empty());
    EXPECT_EQ(Log(), "");
}

TEST_F(BuildGraphTest, UnregisteredEffectFilterIsRegisteredAndTheNextBuildFindsIt) {
    Media().AddCamera(L"Cam");
    ASSERT_EQ(Dlg().EnumerateDevices(), 0);
    uint64_t start = Now();
    EXPECT_TRUE(FAILED(Dlg().BuildGraph(nullptr)));
    EXPECT_EQ(Now() - start, 1000u) << "the registration is given a second";
    ASSERT_EQ(Sim().Processes().Runs().size(), 1u);
    std::wstring folder = m_folder.Wide() + L"/";
    EXPECT_EQ(Sim().Processes().Runs()[0],
              (std::vector<std::wstring>{folder + L"vistrel-regsvr", L"-s", folder + L"Videoeffect.ax"}));
    EXPECT_EQ(Log(), "\n Failed to add effect filter"
                     "Registering Video Effect...");

    Media().SetEffectFilterRegistered(true);  // what the tool did meanwhile
    Dlg().TearDownGraph();
    EXPECT_EQ(Dlg().BuildGraph(nullptr), S_OK);
}

using BuildGraphDeathTest = BuildGraphTest;

// The process still ends with code 0, but only after the user was told and the error stream has
// the log line.
TEST_F(BuildGraphDeathTest, FatalFailuresTellTheUserBeforeTheProcessEnds) {
    const struct {
        const char* failure;
        const char* line;
    } cases[] = {{"CreateClassEnumerator:LegacyFilters", "Failed to find effect filter"},
                 {"CreateInstance:VideoRenderer", "Renderer Filter is not available"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        SetUpMachine();
        EXPECT_EXIT(
            {
                Ui().ExpectMessageBox(IDOK, [&] {
                    const auto& box = Ui().MessageBoxes().back();
                    std::fprintf(stderr, "box: %s icon %u\n", platform::ToUtf8(box.text).c_str(), box.Icon());
                });
                Media().Fail(c.failure, E_FAIL);
                (void)Dlg().BuildGraph(nullptr);
            },
            testing::ExitedWithCode(0),
            std::string("vistrel: ") + c.line + "\nbox: Camera Initialization Fail! Restart Vistrel. icon 16");
        EXPECT_EQ(Log(), std::string("\n ") + c.line);
    }
}

}  // namespace
