// The sample grabber: a pass-through filter that hands each frame to a callback on the
// streaming thread. Frames pass on as they come; only a frame a callback takes is turned into
// the callback's form.
#pragma once

#include <cstdint>

#include "platform/Unknown.h"
#include "platform/media/MediaTypes.h"

inline constexpr IID IID_ISampleGrabber{0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};
inline constexpr IID IID_ISampleGrabberCB{0x0579154A, 0x2B53, 0x4994, {0xB0, 0xD0, 0xE7, 0x73, 0x14, 0x8E, 0xFF, 0x85}};

class IMediaSample;  // never handed out here: SampleCB receives nullptr

class ISampleGrabberCB : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT SampleCB(double sampleTime, IMediaSample* sample) = 0;
    // Called on the streaming thread with the frame's bytes: 24-bit BGR, rows bottom-up, each
    // row padded to a multiple of 4 bytes, as a device-independent bitmap holds them.
    [[nodiscard]] virtual HRESULT BufferCB(double sampleTime, uint8_t* buffer, long length) = 0;
    // Asked on the streaming thread before a frame is made ready for BufferCB; false spares the
    // grabber that frame's conversion and copy. Must be cheap and must not block. BufferCB may
    // still decline a frame it is then given, so the answer needs to be no more than a hint.
    virtual bool WantsBuffer() { return true; }
};
DECLARE_INTERFACE_IID(ISampleGrabberCB, IID_ISampleGrabberCB);

class ISampleGrabber : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT SetOneShot(bool oneShot) = 0;
    // Only the major type and subtype are taken; MEDIASUBTYPE_RGB24 is the one video
    // subtype delivered.
    [[nodiscard]] virtual HRESULT SetMediaType(const AM_MEDIA_TYPE& type) = 0;
    // The type of the grabber's input connection as the callback sees it (24-bit RGB once that
    // type was set), with a video-info header whose bitmap header gives the frame size;
    // VFW_E_NOT_CONNECTED before the connection is made.
    [[nodiscard]] virtual HRESULT GetConnectedMediaType(AM_MEDIA_TYPE& type) = 0;
    [[nodiscard]] virtual HRESULT SetBufferSamples(bool buffer) = 0;
    // which: 0 SampleCB, 1 BufferCB. The grabber keeps no reference to the callback: it must
    // outlive the graph.
    [[nodiscard]] virtual HRESULT SetCallback(ISampleGrabberCB* callback, long which) = 0;
};
DECLARE_INTERFACE_IID(ISampleGrabber, IID_ISampleGrabber);
