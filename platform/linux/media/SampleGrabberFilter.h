// The sample grabber: hands frames to the callback on the streaming thread as 24-bit BGR, rows
// flipped bottom-up and padded to four bytes as a DIB holds them. The frames themselves pass on
// unchanged, in whichever packed RGB format downstream prefers, so that the preview is not
// converted twice for the sake of a snapshot; only a frame the callback wants is turned into BGR.
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
    // How many frames were turned into bottom-up BGR so far.
    uint32_t FramesMade() const { return m_framesMade.load(); }

    // The output offers each format it passes on, BGR first.
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(PIN_DIRECTION direction, int index) const override;

protected:
    HRESULT QueryExtra(REFIID iid, void** object) override;

private:
    SampleGrabberFilter(GstElement* bin, GstElement* formats);
    ~SampleGrabberFilter() override = default;

    static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self);
    void SetFormat(GstCaps* caps);
    void Deliver(GstBuffer* buffer);
    // Fills m_flipped with the frame as bottom-up BGR; the DIB's length, 0 when it cannot be read.
    size_t MakeBgr(GstBuffer* buffer);

    GstElement* m_formats;  // the caps filter of the formats passed on, owned by the bin
    std::atomic<ISampleGrabberCB*> m_callback{nullptr};
    std::atomic<long> m_which{1};
    std::atomic<bool> m_oneShot{false};
    std::atomic<bool> m_shotTaken{false};
    std::atomic<bool> m_bufferSamples{false};
    std::atomic<uint32_t> m_framesMade{0};
    // Streaming thread only (except BufferedSample, under the object lock of the bin).
    GstVideoInfo m_info;
    bool m_infoValid = false;
    int m_pixelStride = 3;  // bytes per pixel of the negotiated format
    int m_offsetB = 0;      // and where in a pixel each channel sits
    int m_offsetG = 1;
    int m_offsetR = 2;
    std::vector<uint8_t> m_flipped;
    std::vector<uint8_t> m_buffered;
};

}  // namespace platform::gst
