// The sample grabber: a pass-through filter that hands each frame to the program's callback.
// Frames come from SimMedia::DeliverFrames (on the test's thread) or from a graph's frame thread.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>

#include "SimFilter.h"
#include "platform/media/SampleGrabber.h"

namespace platform::sim {

class SimGrabber final : public SimFilterWith<ISampleGrabber> {
public:
    explicit SimGrabber(std::shared_ptr<SimMediaContext> context);

    HRESULT SetOneShot(bool oneShot) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE& type) override;
    HRESULT SetBufferSamples(bool buffer) override;
    HRESULT SetCallback(ISampleGrabberCB* callback, long which) override;

    bool Accepts(const SimPin& in, const AM_MEDIA_TYPE& type) const override;
    AM_MEDIA_TYPE Converted(const SimPin& in, const AM_MEDIA_TYPE& type) const override;

    // The frame size of the input connection; nothing while it is not connected.
    std::optional<Size> FrameSize() const;
    // Makes frame `frame` of `size` in `scratch` and hands it to the callback, unless a buffer
    // callback does not want it (then nothing is made). Any thread. Returns whether a callback ran.
    bool Deliver(uint32_t frame, Size size, std::vector<uint8_t>& scratch);

    const std::optional<AM_MEDIA_TYPE>& RequestedType() const { return m_requested; }
    bool OneShot() const { return m_oneShot; }
    bool BufferSamples() const { return m_bufferSamples; }
    long CallbackKind() const;
    uint32_t CallbacksMade() const { return m_callbacks.load(); }
    // Frames made into bytes for the callback so far.
    uint32_t FramesMade() const { return m_framesMade.load(); }

private:
    void* FindInterface(REFIID iid) override;

    std::optional<AM_MEDIA_TYPE> m_requested;
    bool m_oneShot = false;
    bool m_bufferSamples = false;
    mutable std::mutex m_mutex;  // the callback is set on the UI thread and read on the frame thread
    ISampleGrabberCB* m_callback = nullptr;
    long m_which = 0;
    std::atomic<uint32_t> m_callbacks{0};
    std::atomic<uint32_t> m_framesMade{0};
};

}  // namespace platform::sim
