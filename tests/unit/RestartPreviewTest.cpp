// The preview after the device settings: rebuilt only when what it was built with changed, the
// window resized only when the change is to or from the small mode, failed builds retried.
#include "MainWindowFixture.h"

namespace {

class RestartPreviewTest : public MainWindowTest {
protected:
    RestartPreviewTest() { Sim().Media().AddCamera(L"Second Cam", {{352, 288}, {640, 480}}); }

    // Graphs made since the window came up, and whether the preview area ends visible.
    int GraphsMade() { return static_cast<int>(Sim().Media().Graphs().size()); }
    bool PreviewVisible() { return Control(IDC_STATIC_PREVIEW).visible; }
};

TEST_F(RestartPreviewTest, NothingChangedKeepsTheRunningGraph) {
    Run([&] {
        const int before = GraphsMade();
        auto* graph = Sim().Media().LastGraph();
        const CRect window = WindowRect();
        EXPECT_FALSE(m_dlg.PreviewNeedsRestart(false));
        m_dlg.RestartPreviewAfterSettings(false);
        EXPECT_EQ(GraphsMade(), before);
        EXPECT_FALSE(graph->IsReleased());
        EXPECT_EQ(graph->stateChanges.back().requested, State_Running);
        EXPECT_EQ(WindowRect(), window);
        EXPECT_TRUE(PreviewVisible());
    });
}

TEST_F(RestartPreviewTest, EachChangedSelectionRebuildsTheGraph) {
    struct Case {
        const char* what;
        std::function<void(CTaviDlg&)> change;
        bool cameraChanged;
    };
    const Case cases[] = {
        {"another camera", [](CTaviDlg& d) { d.m_nVideoDevice = 1; }, false},
        {"another microphone", [](CTaviDlg& d) { d.m_nAudioDevice = 1; }, false},
        {"modes 1 to 2", [](CTaviDlg& d) { d.m_nResolution = 2; }, false},
        {"a new camera at the same index", [](CTaviDlg& d) { d.m_strCameraName = L"Gone Cam"; }, false},
        {"the handler saw the name change", [](CTaviDlg&) {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            auto* old = Sim().Media().LastGraph();
            const CRect window = WindowRect();
            c.change(m_dlg);
            m_dlg.RestartPreviewAfterSettings(c.cameraChanged);
            EXPECT_TRUE(old->IsReleased());
            EXPECT_NE(Sim().Media().LastGraph(), old);
            EXPECT_FALSE(Sim().Media().LastGraph()->IsReleased());
            EXPECT_EQ(m_dlg.m_nCurVideoDevice, m_dlg.m_nVideoDevice);
            EXPECT_EQ(m_dlg.m_nCurAudioDevice, m_dlg.m_nAudioDevice);
            EXPECT_EQ(m_dlg.m_nCurResolution, m_dlg.m_nResolution);
            EXPECT_EQ(WindowRect(), window) << "modes 1 and 2 share the large window";
            EXPECT_TRUE(PreviewVisible());
            EXPECT_FALSE(m_dlg.PreviewNeedsRestart(false));
        });
        m_dlg.m_nVideoDevice = m_dlg.m_nAudioDevice = 0;
        m_dlg.m_nResolution = 1;
    }
}

TEST_F(RestartPreviewTest, ChangeToTheSmallModeResizesTheWindow) {
    Run([&] {
        const CRect before = WindowRect();
        m_dlg.m_nResolution = 0;
        m_dlg.RestartPreviewAfterSettings(false);
        EXPECT_EQ(WindowRect(), CRect::FromXYWH(before.left, before.top, 360, 370));
        ExpectStrip(354, 341);
        EXPECT_EQ(m_dlg.m_nCurResolution, 0);
        EXPECT_EQ(Sim().Media().LastGraph()->window.width, 352) << "the small mode's video window";
    });
}

TEST_F(RestartPreviewTest, FailedBuildsAreRetriedThreeMoreTimesWithoutPause) {
    Run([&] {
        m_dlg.m_nVideoDevice = 1;
        const int before = GraphsMade();
        Sim().Media().Fail("AddFilter:Smart Tee1", E_FAIL, 3);
        const uint64_t start = Sim().Clock().Now();
        m_dlg.RestartPreviewAfterSettings(false);
        EXPECT_EQ(GraphsMade(), before + 4) << "three failures and the build that works";
        const uint64_t teardown = 500;  // the running graph's one stop and its pause
        EXPECT_LT(Sim().Clock().Now() - start, teardown + 100);
        EXPECT_FALSE(Sim().Media().LastGraph()->IsReleased());
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(Sim().Media().Graphs()[size_t(before + i)]->IsReleased());
        EXPECT_TRUE(PreviewVisible());
    });
}

TEST_F(RestartPreviewTest, BuildThatNeverWorksGivesUpAfterFourAttempts) {
    Run([&] {
        m_dlg.m_nVideoDevice = 1;
        const int before = GraphsMade();
        Sim().Media().Fail("AddFilter:Smart Tee1", E_FAIL, 100);
        m_dlg.RestartPreviewAfterSettings(false);
        EXPECT_EQ(GraphsMade(), before + 4);
        EXPECT_FALSE(m_dlg.m_pGraph) << "no half-built graph is kept";
        EXPECT_TRUE(PreviewVisible());
    });
}

}  // namespace
