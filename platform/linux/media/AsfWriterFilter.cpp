#include "AsfWriterFilter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "BinChain.h"
#include "GstGraph.h"
#include "platform/Strings.h"

namespace platform::gst {
namespace {

// The encoders are told the frame rate the cameras give.
constexpr int kFramesPerSecond = 30;

GstElement* CapsFilter(const char* description) {
    GstElement* filter = MakeElement("capsfilter");
    if (!filter) return nullptr;
    GstCaps* caps = gst_caps_from_string(description);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    return filter;
}

}  // namespace

ComPtr<IBaseFilter> AsfWriterFilter::Create() {
    auto* writer = new AsfWriterFilter(gst_bin_new(nullptr));
    ComPtr<IBaseFilter> filter = ComPtr<IBaseFilter>::Adopt(static_cast<GstFilter*>(writer));
    // Until a profile says otherwise, the writer takes the streams of the one system profile.
    if (FAILED(writer->Build(SystemProfileStreams(WMProfile_V80_384Video)))) return nullptr;
    return filter;
}

AsfWriterFilter::AsfWriterFilter(GstElement* bin) : GstFilter(bin) {}

AsfWriterFilter::~AsfWriterFilter() {
    gst_element_set_state(Element(), GST_STATE_NULL);
    Clear();
}

HRESULT AsfWriterFilter::QueryExtra(REFIID iid, void** object) {
    if (iid == IID_IFileSinkFilter) {
        GstFilter::AddRef();
        *object = static_cast<IFileSinkFilter*>(this);
        return S_OK;
    }
    if (iid == IID_IConfigAsfWriter) {
        GstFilter::AddRef();
        *object = static_cast<IConfigAsfWriter*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT AsfWriterFilter::SetFileName(const std::wstring& path, const AM_MEDIA_TYPE*) {
    if (path.empty()) return E_INVALIDARG;
    m_location = ToUtf8(path);
    if (m_sink) g_object_set(m_sink, "location", m_location.c_str(), nullptr);
    return S_OK;
}

HRESULT AsfWriterFilter::ConfigureFilterUsingProfile(IWMProfile* profile) {
    WmProfile* ours = AsWmProfile(profile);
    if (!ours) return E_INVALIDARG;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(Element(), &state, nullptr, 0);
    if (state != GST_STATE_NULL) return VFW_E_NOT_STOPPED;
    for (int i = 0; GstPad* pad = PinPad(PINDIR_INPUT, i); ++i)
        if (gst_pad_is_linked(pad)) return VFW_E_ALREADY_CONNECTED;
    return Build(ours->Streams());
}

void AsfWriterFilter::Clear() {
    GstElement* bin = Element();
    std::vector<GstPad*> pads;
    GST_OBJECT_LOCK(bin);
    for (GList* l = bin->sinkpads; l; l = l->next) pads.push_back(GST_PAD(gst_object_ref(l->data)));
    GST_OBJECT_UNLOCK(bin);
    for (GstPad* pad : pads) {
        gst_element_remove_pad(bin, pad);
        gst_object_unref(pad);
    }
    std::vector<GstElement*> children;
    GST_OBJECT_LOCK(bin);
    for (GList* l = GST_BIN_CHILDREN(bin); l; l = l->next) children.push_back(GST_ELEMENT(gst_object_ref(l->data)));
    GST_OBJECT_UNLOCK(bin);
    for (GstElement* child : children) {
        gst_element_set_state(child, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(bin), child);
        gst_object_unref(child);
    }
    m_mux = nullptr;
    m_sink = nullptr;
    m_branches.clear();
}

HRESULT AsfWriterFilter::Build(const std::vector<WmStream>& streams) {
    Clear();
    m_mux = MakeElement("asfmux");
    m_sink = MakeElement("filesink");
    if (!m_mux || !m_sink) {
        for (GstElement* e : {m_mux, m_sink})
            if (e) gst_object_unref(gst_object_ref_sink(e));
        m_mux = m_sink = nullptr;
        return E_FAIL;
    }
    // The shortest preroll keeps the first frame's presentation time at zero for players that
    // do not subtract it; the buffer window is the encoders' business.
    g_object_set(m_mux, "preroll", guint64(0), nullptr);
    if (!m_location.empty()) g_object_set(m_sink, "location", m_location.c_str(), nullptr);
    gst_bin_add_many(GST_BIN(Element()), m_mux, m_sink, nullptr);
    if (!gst_element_link(m_mux, m_sink)) return E_FAIL;
    GstPad* sinkPad = gst_element_get_static_pad(m_sink, "sink");
    gst_pad_add_probe(sinkPad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &AsfWriterFilter::OnFileEvent, this, nullptr);
    gst_object_unref(sinkPad);

    int index = 0;
    for (const WmStream& stream : streams) {
        bool built = stream.type == WMMEDIATYPE_Video ? AddVideoBranch(stream, index) : AddAudioBranch(stream, index);
        if (!built) return E_FAIL;
        ++index;
    }
    std::lock_guard lock(m_mutex);
    m_started = m_eosSent = m_finished = false;
    return S_OK;
}

bool AsfWriterFilter::AddVideoBranch(const WmStream& stream, int index) {
    int width = 320;
    int height = 240;
    uint32_t bitrate = 300'000;
    if (auto vih = ReadVideoInfo(stream.mediaType)) {
        if (vih->bmiHeader.biWidth > 0) width = vih->bmiHeader.biWidth;
        if (vih->bmiHeader.biHeight != 0) height = std::abs(vih->bmiHeader.biHeight);
        if (vih->dwBitRate > 0) bitrate = vih->dwBitRate;
    }
    // videoscale alone would keep the picture's shape by changing the pixel aspect ratio; the
    // profile's size is the frame size, so the ratio and format are pinned.
    char caps[160];
    std::snprintf(caps, sizeof caps, "video/x-raw,format=I420,width=%d,height=%d,pixel-aspect-ratio=1/1", width, height);
    GstElement* queue = MakeElement("queue");
    GstElement* convert = MakeElement("videoconvert");
    GstElement* scale = MakeElement("videoscale");
    GstElement* size = CapsFilter(caps);
    GstElement* encoder = MakeElement("avenc_wmv2");
    GstElement* elements[] = {queue, convert, scale, size, encoder};
    if (std::any_of(std::begin(elements), std::end(elements), [](GstElement* e) { return !e; })) {
        for (GstElement* e : elements)
            if (e) gst_object_unref(gst_object_ref_sink(e));
        return false;
    }
    int64_t spacing = stream.maxKeyFrameSpacing > 0 ? stream.maxKeyFrameSpacing : 80'000'000;
    int gop = std::max<int>(1, int(spacing * kFramesPerSecond / 10'000'000));
    g_object_set(encoder, "bitrate", gint(bitrate), "gop-size", gint(gop), nullptr);
    for (GstElement* e : elements) gst_bin_add(GST_BIN(Element()), e);
    if (!gst_element_link_many(queue, convert, scale, size, encoder, nullptr)) return false;
    return LinkBranch(queue, encoder, "video_%u", index);
}

bool AsfWriterFilter::AddAudioBranch(const WmStream& stream, int index) {
    WmAudioFormat format = AudioFormatOf(stream);
    char caps[96];
    std::snprintf(caps, sizeof caps, "audio/x-raw,rate=%d,channels=%d", format.rate, format.channels);
    GstElement* queue = MakeElement("queue");
    GstElement* convert = MakeElement("audioconvert");
    GstElement* resample = MakeElement("audioresample");
    GstElement* shape = CapsFilter(caps);
    GstElement* encoder = MakeElement("avenc_wmav2");
    GstElement* elements[] = {queue, convert, resample, shape, encoder};
    if (std::any_of(std::begin(elements), std::end(elements), [](GstElement* e) { return !e; })) {
        for (GstElement* e : elements)
            if (e) gst_object_unref(gst_object_ref_sink(e));
        return false;
    }
    g_object_set(encoder, "bitrate", gint(format.bitrate), nullptr);
    for (GstElement* e : elements) gst_bin_add(GST_BIN(Element()), e);
    if (!gst_element_link_many(queue, convert, resample, shape, encoder, nullptr)) return false;
    return LinkBranch(queue, encoder, "audio_%u", index);
}

bool AsfWriterFilter::LinkBranch(GstElement* first, GstElement* encoder, const char* muxPad, int index) {
    GstPad* muxSink = gst_element_request_pad_simple(m_mux, muxPad);
    GstPad* encoded = gst_element_get_static_pad(encoder, "src");
    bool linked = muxSink && gst_pad_link(encoded, muxSink) == GST_PAD_LINK_OK;
    if (linked) {
        auto branch = std::make_unique<Branch>();
        branch->writer = this;
        gst_segment_init(&branch->segment, GST_FORMAT_TIME);
        gst_pad_add_probe(encoded,
                          GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                          &AsfWriterFilter::OnEncoded, branch.get(), nullptr);
        m_branches.push_back(std::move(branch));
    }
    gst_object_unref(encoded);
    if (muxSink) gst_object_unref(muxSink);
    if (!linked) return false;
    char name[16];
    std::snprintf(name, sizeof name, "in%d", index);
    return AddGhostPad(Element(), first, "sink", name) != nullptr;
}

GstPadProbeReturn AsfWriterFilter::OnEncoded(GstPad*, GstPadProbeInfo* info, gpointer data) {
    // The encoders stamp from a far-off origin (avenc_wmv2 starts at 1000 hours) and the muxer
    // writes stamps as they come: everything is brought to the pipeline's running time, less
    // the time the writer joined at, under a segment that starts at zero.
    auto* branch = static_cast<Branch*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) != GST_EVENT_SEGMENT) return GST_PAD_PROBE_OK;
        gst_event_copy_segment(event, &branch->segment);
        GstSegment fresh;
        gst_segment_init(&fresh, GST_FORMAT_TIME);
        GstEvent* replacement = gst_event_new_segment(&fresh);
        gst_event_set_seqnum(replacement, gst_event_get_seqnum(event));
        gst_event_unref(event);
        GST_PAD_PROBE_INFO_DATA(info) = replacement;
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    const GstClockTime base = branch->writer->m_base.load();
    auto rebase = [&](GstClockTime stamp) -> GstClockTime {
        if (!GST_CLOCK_TIME_IS_VALID(stamp)) return GST_CLOCK_TIME_NONE;
        guint64 running = 0;
        if (gst_segment_to_running_time_full(&branch->segment, GST_FORMAT_TIME, stamp, &running) <= 0) return 0;
        return running > base ? running - base : 0;
    };
    GstClockTime pts = rebase(GST_BUFFER_PTS(buffer));
    GST_BUFFER_PTS(buffer) = pts;
    GST_BUFFER_DTS(buffer) = GST_BUFFER_DTS_IS_VALID(buffer) ? std::min(rebase(GST_BUFFER_DTS(buffer)), pts) : pts;
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn AsfWriterFilter::OnFileEvent(GstPad*, GstPadProbeInfo* info, gpointer data) {
    if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS) {
        auto* self = static_cast<AsfWriterFilter*>(data);
        std::lock_guard lock(self->m_mutex);
        self->m_finished = true;
        self->m_done.notify_all();
    }
    return GST_PAD_PROBE_OK;
}

HRESULT AsfWriterFilter::OnEnterGraph(GstGraph& graph, const std::wstring& name) {
    HRESULT hr = GstFilter::OnEnterGraph(graph, name);
    if (FAILED(hr)) return hr;
    // Joining a running graph: the file starts now, not when the pipeline did.
    GstElement* pipeline = graph.Pipeline();
    GstState state = GST_STATE_NULL;
    gst_element_get_state(pipeline, &state, nullptr, 0);
    if (state == GST_STATE_PLAYING) {
        GstClockTime now = GST_CLOCK_TIME_NONE;
        if (GstClock* clock = gst_element_get_clock(pipeline)) {
            now = gst_clock_get_time(clock);
            gst_object_unref(clock);
        }
        GstClockTime baseTime = gst_element_get_base_time(pipeline);
        m_base = GST_CLOCK_TIME_IS_VALID(now) && now > baseTime ? now - baseTime : 0;
        std::lock_guard lock(m_mutex);
        m_started = true;
        m_eosSent = m_finished = false;
    }
    return S_OK;
}

void AsfWriterFilter::OnStreamStart() {
    m_base = 0;
    std::lock_guard lock(m_mutex);
    m_started = true;
    m_eosSent = m_finished = false;
}

bool AsfWriterFilter::StartFinishing() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_started || m_finished) return false;
        if (m_eosSent) return true;
        m_eosSent = true;
    }
    // Sent from a worker: an input can be held by a streaming thread that waits for room in a
    // full queue, and the caller must be able to give up after its bound.
    GstFilter::AddRef();
    gst_element_call_async(
        Element(),
        [](GstElement* bin, gpointer) {
            std::vector<GstPad*> inputs;
            GST_OBJECT_LOCK(bin);
            for (GList* l = bin->sinkpads; l; l = l->next) inputs.push_back(GST_PAD(gst_object_ref(l->data)));
            GST_OBJECT_UNLOCK(bin);
            for (GstPad* input : inputs) {
                gst_pad_send_event(input, gst_event_new_eos());
                gst_object_unref(input);
            }
        },
        this, [](gpointer self) { static_cast<AsfWriterFilter*>(self)->GstFilter::Release(); });
    return true;
}

bool AsfWriterFilter::WaitFinished(gint64 deadlineMonotonicUs) {
    std::unique_lock lock(m_mutex);
    while (!m_finished) {
        gint64 left = deadlineMonotonicUs - g_get_monotonic_time();
        if (left <= 0) return false;
        m_done.wait_for(lock, std::chrono::microseconds(left));
    }
    return true;
}

}  // namespace platform::gst
