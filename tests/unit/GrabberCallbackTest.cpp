// The process's one grabber callback on its own: what it copies, how its buffer grows, and what
// it answers as an object. No main window here, so the frame-ready message goes nowhere and the
// frame is given back at once.
#include <gtest/gtest.h>

#include <vector>

#include "SampleGrabberCB.h"
#include "SimFixture.h"
#include "TaviDlg.h"

namespace {

class GrabberCallbackTest : public SimTest {
protected:
    GrabberCallbackTest() {
        g_grabFlags = 0;
        g_hMainWnd = HWND{};
        delete[] g_pFrameBuffer;
        g_pFrameBuffer = nullptr;
        g_cbFrameBuffer = 0;
    }
    // One frame of `length` bytes, every byte `value`, through the callback.
    HRESULT Deliver(long length, uint8_t value) {
        std::vector<uint8_t> frame(static_cast<size_t>(length), value);
        return g_grabberCB.BufferCB(0.0, frame.data(), length);
    }
};

TEST_F(GrabberCallbackTest, FramesNobodyAskedForAreNotCopied) {
    EXPECT_EQ(Deliver(300, 7), S_OK);
    EXPECT_EQ(g_pFrameBuffer, nullptr);
    EXPECT_EQ(g_cbFrameBuffer, 0);
}

TEST_F(GrabberCallbackTest, BufferGrowsForALargerFrameAndKeepsItsSizeForASmallerOne) {
    ArmGrabRequest();
    ASSERT_EQ(Deliver(300, 1), S_OK);
    ASSERT_EQ(g_cbFrameBuffer, 300);
    EXPECT_EQ(g_pFrameBuffer[299], 1);

    ArmGrabRequest();
    ASSERT_EQ(Deliver(900, 2), S_OK);
    EXPECT_EQ(g_cbFrameBuffer, 900);
    EXPECT_EQ(g_pFrameBuffer[899], 2);

    ArmGrabRequest();
    const uint8_t* kept = g_pFrameBuffer;
    ASSERT_EQ(Deliver(300, 3), S_OK);
    EXPECT_EQ(g_pFrameBuffer, kept) << "reused, not made again";
    EXPECT_EQ(g_cbFrameBuffer, 900);
    EXPECT_EQ(g_pFrameBuffer[299], 3);
    EXPECT_EQ(g_pFrameBuffer[300], 2) << "only the frame's own bytes are copied";
}

TEST_F(GrabberCallbackTest, MissingBufferLosesTheRequest) {
    ArmGrabRequest();
    EXPECT_EQ(g_grabberCB.BufferCB(0.0, nullptr, 300), E_POINTER);
    EXPECT_FALSE(GrabRequestPending());
    EXPECT_EQ(Deliver(300, 1), S_OK);
    EXPECT_EQ(g_cbFrameBuffer, 0) << "the lost request takes no later frame";
    ArmGrabRequest();
    EXPECT_EQ(Deliver(300, 1), S_OK);
    EXPECT_EQ(g_cbFrameBuffer, 300) << "and the next request is served";
}

TEST_F(GrabberCallbackTest, StaticObjectAnswersOnlyItsOwnInterfaces) {
    void* out = nullptr;
    EXPECT_EQ(g_grabberCB.QueryInterface(IID_ISampleGrabberCB, &out), S_OK);
    EXPECT_EQ(out, static_cast<ISampleGrabberCB*>(&g_grabberCB));
    out = nullptr;
    EXPECT_EQ(g_grabberCB.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<ISampleGrabberCB*>(&g_grabberCB));
    void* untouched = &out;
    out = untouched;
    EXPECT_EQ(g_grabberCB.QueryInterface(IID_IBaseFilter, &out), E_NOINTERFACE);
    EXPECT_EQ(out, untouched);
    EXPECT_EQ(g_grabberCB.AddRef(), 2u);
    EXPECT_EQ(g_grabberCB.Release(), 1u);
    EXPECT_EQ(g_grabberCB.Release(), 1u) << "counting changes nothing";
}

TEST_F(GrabberCallbackTest, NothingIsDrawnBeforeTheFirstSnapshot) {
    g_bFrameShown = 0;
    const std::vector<uint8_t> frame(4 * 4 * 3, 0);
    BITMAPINFOHEADER header;
    header.biWidth = 4;
    header.biHeight = 4;
    header.biBitCount = 24;
    EXPECT_EQ(DrawFrame(frame.data(), header), 0);
    g_bFrameShown = 1;
    g_grabberCB.m_pDlg = nullptr;
    EXPECT_EQ(DrawFrame(frame.data(), header), 0) << "no main window yet";
    g_bFrameShown = 0;
}

}  // namespace
