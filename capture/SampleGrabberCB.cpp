#include "SampleGrabberCB.h"

#include <cstring>
#include <new>

#include "AppMessages.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"

CSampleGrabberCB g_grabberCB;
std::atomic<uint32_t> g_grabFlags{0};
uint8_t* g_pFrameBuffer = nullptr;
long g_cbFrameBuffer = 0;
GrabbedFrameInfo g_grabbedFrame;
int g_bFrameShown = 0;
BITMAPINFOHEADER g_bmiLastFrame{};

namespace {
constexpr uint32_t kBothFlags = g_bGrabRequest | g_bGrabArmed;
}

void ArmGrabRequest() { g_grabFlags.fetch_or(kBothFlags, std::memory_order_release); }

void DisarmGrabRequest() { g_grabFlags.fetch_and(~kBothFlags, std::memory_order_relaxed); }

// Release: the reads of the buffer happen before the streaming thread may write it again.
void ReleaseGrabbedFrame() { g_grabFlags.fetch_and(~kGrabHandedOver, std::memory_order_release); }

bool GrabRequestPending() { return (g_grabFlags.load(std::memory_order_relaxed) & kBothFlags) == kBothFlags; }

bool TakeGrabRequest() {
    // Frames nobody asked for cost this one load.
    uint32_t flags = g_grabFlags.load(std::memory_order_relaxed);
    while (flags == kBothFlags) {
        if (g_grabFlags.compare_exchange_weak(flags, kGrabHandedOver, std::memory_order_acq_rel,
                                              std::memory_order_relaxed))
            return true;
    }
    return false;
}

HRESULT CSampleGrabberCB::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_ISampleGrabberCB || riid == IID_IUnknown) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT CSampleGrabberCB::SampleCB(double, IMediaSample*) { return S_OK; }

// The test TakeGrabRequest starts with, without taking: while the last frame is still being read
// a request cannot be served, and a frame made for it would only be thrown away.
bool CSampleGrabberCB::WantsBuffer() { return g_grabFlags.load(std::memory_order_relaxed) == kBothFlags; }

HRESULT CSampleGrabberCB::BufferCB(double, uint8_t* buffer, long length) {
    if (!TakeGrabRequest()) return S_OK;

    // Nothing will be posted on the early returns: the buffer goes back at once, the request is lost.
    if (!buffer || length <= 0) {
        ReleaseGrabbedFrame();
        return E_POINTER;
    }
    if (g_cbFrameBuffer < length) {
        delete[] g_pFrameBuffer;
        g_pFrameBuffer = nullptr;
        g_cbFrameBuffer = 0;
    }
    if (!g_pFrameBuffer) {
        g_pFrameBuffer = new (std::nothrow) uint8_t[static_cast<size_t>(length)];
        if (!g_pFrameBuffer) {
            g_cbFrameBuffer = 0;
            ReleaseGrabbedFrame();
            return E_OUTOFMEMORY;
        }
        g_cbFrameBuffer = length;
    }
    std::memcpy(g_pFrameBuffer, buffer, static_cast<size_t>(length));
    g_grabbedFrame = {m_lWidth, m_lHeight, length};
    if (!::PostMessage(g_hMainWnd, WM_FRAME_READY, 0, 0)) ReleaseGrabbedFrame();
    return S_OK;
}
