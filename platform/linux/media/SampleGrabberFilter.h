// The sample grabber: converts to 24-bit BGR and hands each frame to the callback on the
// streaming thread, rows flipped bottom-up and padded to four bytes as a DIB holds them; the
// frames themselves pass on unchanged.
#pragma once

#include <gst/video/video.h>

#include <atomic>
#include <vector>

#include "GstFilter.h"
#include "platform/media/SampleGrabber.h"

namespace platform::gst {

class SampleGrabberFilter final : public GstFilter, public ISampleGrabber {
public:
    [[nodiscard]] static ComPtr<IBaseFilter> Create();

    HRESULT QueryInterface(REFIID iid, void** object) override { return GstFilter::QueryInterface(iid, object); }
    uint32_t AddRef() override { return GstFilter::AddRef(); }
    uint32_t Release() override { return GstFilter::Release(); }

    // ISampleGrabber
    HRESULT SetOneShot(bool oneShot) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE& type) override;
    HRESULT SetBufferSamples(bool buffer) override;
    HRESULT SetCallback(ISampleGrabberCB* callback, long which) override;

    // The last frame handed out, as it was handed out (when buffering samples is on).
    std::vector<uint8_t> BufferedSample() const;

protected:
    HRESULT QueryExtra(REFIID iid, void** object) override;

private:
    SampleGrabberFilter(GstElement* bin, GstElement* bgr);
    ~SampleGrabberFilter() override = default;

    static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self);
    void Deliver(GstBuffer* buffer);

    GstElement* m_bgr;  // the caps filter that pins BGR, owned by the bin
    std::atomic<ISampleGrabberCB*> m_callback{nullptr};
    std::atomic<long> m_which{1};
    std::atomic<bool> m_oneShot{false};
    std::atomic<bool> m_shotTaken{false};
    std::atomic<bool> m_bufferSamples{false};
    // Streaming thread only (except BufferedSample, under the object lock of the bin).
    GstVideoInfo m_info;
    bool m_infoValid = false;
    std::vector<uint8_t> m_flipped;
    std::vector<uint8_t> m_buffered;
};

}  // namespace platform::gst
