// The one frame grabber callback of the process and the hand-over of a requested frame from
// the streaming thread to the window's thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/media/MediaTypes.h"
#include "platform/media/SampleGrabber.h"

class CTaviDlg;

class CSampleGrabberCB final : public ISampleGrabberCB {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    uint32_t AddRef() override { return 2; }   // static object: counting changes nothing
    uint32_t Release() override { return 1; }
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override;
    HRESULT BufferCB(double sampleTime, uint8_t* buffer, long length) override;
    // Only while a request could be taken: the grabber makes no frame for nobody.
    bool WantsBuffer() override;

    long m_lWidth = 0;
    long m_lHeight = 0;
    CTaviDlg* m_pDlg = nullptr;
};

extern CSampleGrabberCB g_grabberCB;

// The request flags g_bGrabRequest and g_bGrabArmed share one word with a third, "frame handed
// over", so that the streaming thread tests and clears them in one step (one request, one frame
// at most) and never writes the frame buffer while the window's thread still reads it.
inline constexpr uint32_t g_bGrabRequest = 1u;
inline constexpr uint32_t g_bGrabArmed = 2u;
inline constexpr uint32_t kGrabHandedOver = 4u;
extern std::atomic<uint32_t> g_grabFlags;

// Window's thread: a snapshot request sets both flags (a second one before the frame changes nothing).
void ArmGrabRequest();
// Window's thread: drops a request not yet taken.
void DisarmGrabRequest();
// Window's thread: done with the handed-over frame; the next request may take a new one.
void ReleaseGrabbedFrame();
bool GrabRequestPending();
// Streaming thread: true, once per request, when both flags were set and no frame is still
// being read; the flags are then cleared and the buffer is the caller's until it posts.
bool TakeGrabRequest();

extern uint8_t* g_pFrameBuffer;
extern long g_cbFrameBuffer;
// The frame in g_pFrameBuffer as the streaming thread handed it over: its size and bytes. The
// graph may be rebuilt at another size before the window's thread gets to it.
struct GrabbedFrameInfo {
    long width = 0;
    long height = 0;
    long bytes = 0;
};
extern GrabbedFrameInfo g_grabbedFrame;
extern int g_bFrameShown;
extern BITMAPINFOHEADER g_bmiLastFrame;

// Stretches the frame the header describes into the main window's control 1004; 1 when drawn,
// 0 when nothing was (no snapshot shown yet, no main window, no pixels).
int DrawFrame(const uint8_t* pixels, const BITMAPINFOHEADER& header);
