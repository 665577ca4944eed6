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

    long m_lWidth = 0;
    long m_lHeight = 0;
    CTaviDlg* m_pDlg = nullptr;
};

extern CSampleGrabberCB g_grabberCB;

// Both set by an accepted snapshot request; a frame is taken only when both are set, and the
// streaming thread clears them in one step, so one request yields at most one frame.
extern std::atomic<int> g_bGrabRequest;
extern std::atomic<int> g_bGrabArmed;
extern uint8_t* g_pFrameBuffer;
extern long g_cbFrameBuffer;
extern int g_bFrameShown;
extern BITMAPINFOHEADER g_bmiLastFrame;
