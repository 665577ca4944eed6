#include "SampleGrabberCB.h"

#include <cstring>
#include <new>

#include "AppMessages.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"

CSampleGrabberCB g_grabberCB;
std::atomic<int> g_bGrabRequest{0};
std::atomic<int> g_bGrabArmed{0};
uint8_t* g_pFrameBuffer = nullptr;
long g_cbFrameBuffer = 0;
int g_bFrameShown = 0;
BITMAPINFOHEADER g_bmiLastFrame{};

HRESULT CSampleGrabberCB::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_ISampleGrabberCB || riid == IID_IUnknown) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT CSampleGrabberCB::SampleCB(double, IMediaSample*) { return S_OK; }

HRESULT CSampleGrabberCB::BufferCB(double, uint8_t* buffer, long length) {
    // Cheap for the frames nobody asked for; the exchange makes taking a request one step.
    if (g_bGrabRequest.load(std::memory_order_relaxed) == 0 || g_bGrabArmed.load(std::memory_order_relaxed) == 0)
        return S_OK;
    int request = g_bGrabRequest.exchange(0, std::memory_order_acquire);
    int armed = g_bGrabArmed.exchange(0, std::memory_order_acquire);
    if (request == 0 || armed == 0) return S_OK;  // another frame took the request meanwhile

    if (!buffer) return E_POINTER;
    if (g_cbFrameBuffer < length) {
        delete[] g_pFrameBuffer;
        g_pFrameBuffer = nullptr;
        g_cbFrameBuffer = 0;
    }
    if (!g_pFrameBuffer) {
        g_pFrameBuffer = new (std::nothrow) uint8_t[static_cast<size_t>(length)];
        if (!g_pFrameBuffer) {
            g_cbFrameBuffer = 0;
            return E_OUTOFMEMORY;
        }
        g_cbFrameBuffer = length;
    }
    std::memcpy(g_pFrameBuffer, buffer, static_cast<size_t>(length));
    ::PostMessage(g_hMainWnd, WM_FRAME_READY, 0, 0);
    return S_OK;
}
