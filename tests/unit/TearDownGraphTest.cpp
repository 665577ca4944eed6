#include "CaptureFixture.h"

namespace {

class TearDownGraphTest : public CaptureTest {
protected:
    void SetUp() override {
        Media().AddCamera(L"Cam");
        Media().SetEffectFilterRegistered(true);
        ASSERT_EQ(Dlg().EnumerateDevices(), 0);
    }
};

TEST_F(TearDownGraphTest, RunningGraphIsStoppedDetachedAndReleased) {
    ASSERT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    auto* graph = Media().LastGraph();
    uint64_t start = Now();
    Dlg().TearDownGraph();
    EXPECT_GE(Now() - start, 500u) << "at least one stop and its pause";
    ASSERT_FALSE(graph->stateChanges.empty());
    EXPECT_EQ(graph->stateChanges.back().requested, State_Stopped);
    EXPECT_FALSE(graph->window.visible);
    EXPECT_FALSE(graph->window.owner);
    EXPECT_TRUE(graph->IsReleased());
    EXPECT_FALSE(Dlg().m_pGraph);
    EXPECT_FALSE(Dlg().m_pGrabber);
    EXPECT_FALSE(Dlg().m_pEffect);

    start = Now();
    Dlg().TearDownGraph();  // nothing left: does nothing
    EXPECT_EQ(Now(), start);
}

TEST_F(TearDownGraphTest, GraphThatNeverRanNeedsNoStop) {
    ASSERT_EQ(Dlg().BuildGraph(L"New Build"), S_OK);
    auto* graph = Media().LastGraph();
    uint64_t start = Now();
    Dlg().TearDownGraph();
    EXPECT_EQ(Now(), start);
    EXPECT_TRUE(graph->stateChanges.empty());
    EXPECT_TRUE(graph->IsReleased());
}

TEST_F(TearDownGraphTest, StopThatNeverSettlesIsGivenUpAfterTenRequests) {
    ASSERT_EQ(Dlg().BuildGraph(nullptr), S_OK);
    auto* graph = Media().LastGraph();
    Media().SetStopNeverSettles(true);
    Dlg().TearDownGraph();
    size_t stops = 0;
    for (const auto& change : graph->stateChanges) stops += change.requested == State_Stopped;
    EXPECT_EQ(stops, 10u);
    EXPECT_TRUE(graph->IsReleased()) << "let go all the same";
}

}  // namespace
