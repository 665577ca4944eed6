#include "AsfWriterFilter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "AsfPacketLength.h"
#include "BinChain.h"
#include "GstGraph.h"
#include "RgbToI420Element.h"
#include "platform/Strings.h"

namespace platform::gst {
namespace {

// What the video branch is set to when the profile's stream leaves a value out.
// The frame rate the cameras give: the encoder's key-frame spacing is counted in frames.
constexpr int kFramesPerSecond = 30;
// The frame size of the smallest system profile.
constexpr int kDefaultVideoWidth = 320;
constexpr int kDefaultVideoHeight = 240;
// Bits per second of that profile's video stream.
constexpr uint32_t kDefaultVideoBitrate = 300'000;
// The longest time between key frames, in 100-ns units: 8 s, the profiles' own default.
constexpr int64_t kDefaultKeyFrameSpacing = 80'000'000;
// 100-ns units in a second, the unit of the profile's times.
constexpr int64_t kUnitsPerSecond = 10'000'000;

// The WMA 2 encoder gives out each sound one frame late (its transform overlaps the frame
// before) and says so only in libav's own packet stamps, which its GStreamer element leaves
// out: unmended, the sound of a file plays 46 ms behind its picture at 44.1 kHz. The frame
// length follows the sample rate as the codec fixes it.
GstClockTime WmaEncoderDelay(int rate) {
    const int samples = rate <= 16'000 ? 512 : rate <= 22'050 ? 1024 : 2048;
    return gst_util_uint64_scale_int(GST_SECOND, samples, std::max(rate, 1));
}

// A floating capsfilter holding the caps described, or nullptr.
GstElement* CapsFilter(const char* description) {
    GstElement* filter = MakeElement("capsfilter");
    if (!filter) return nullptr;
    auto caps = AdoptGRef(gst_caps_from_string(description));
    g_object_set(filter, "caps", caps.get(), nullptr);
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
    std::vector<GRefPtr<GstPad>> pads;
    GST_OBJECT_LOCK(bin);
    for (GList* l = bin->sinkpads; l; l = l->next) pads.push_back(RefGRef(GST_PAD(l->data)));
    GST_OBJECT_UNLOCK(bin);
    for (const GRefPtr<GstPad>& pad : pads) gst_element_remove_pad(bin, pad.get());
    std::vector<GRefPtr<GstElement>> children;
    GST_OBJECT_LOCK(bin);
    for (GList* l = GST_BIN_CHILDREN(bin); l; l = l->next) children.push_back(RefGRef(GST_ELEMENT(l->data)));
    GST_OBJECT_UNLOCK(bin);
    for (const GRefPtr<GstElement>& child : children) {
        gst_element_set_state(child.get(), GST_STATE_NULL);
        gst_bin_remove(GST_BIN(bin), child.get());
    }
    m_mux = nullptr;
    m_sink = nullptr;
    m_branches.clear();
}

HRESULT AsfWriterFilter::Build(const std::vector<WmStream>& streams) {
    Clear();
    int index = 0;
    for (const WmStream& stream : streams) {
        bool built = stream.type == WMMEDIATYPE_Video ? AddVideoBranch(stream, index) : AddAudioBranch(stream, index);
        if (!built) return E_FAIL;
        ++index;
    }
    if (!AddFile()) return E_FAIL;
    std::lock_guard lock(m_mutex);
    m_started = m_eosSent = m_finished = false;
    return S_OK;
}

bool AsfWriterFilter::AddFile() {
    // GStreamer's own asfmux, with its short packets mended. libav's avmux_asf, given the same
    // stamps, passes the same checks (full decodes without a fault in ffmpeg and GStreamer, an
    // index, both streams from zero, sound within 9 ms of the picture over 20 s, against 6 ms
    // here); asfmux stays for the preroll it lets us set to zero and for what is known of its
    // files after a crash (one cut off by a kill is remuxed whole by ffmpeg).
    auto mux = AdoptGRef(MakeElement("asfmux"));
    auto sink = AdoptGRef(MakeElement("filesink"));
    if (!mux || !sink) return false;
    // The shortest preroll keeps the first frame's presentation time at zero for players that
    // do not subtract it; the buffer window is the encoders' business.
    g_object_set(mux.get(), "preroll", guint64(0), nullptr);
    MendPacketLengths(mux.get());
    if (!m_location.empty()) g_object_set(sink.get(), "location", m_location.c_str(), nullptr);
    // Unbuffered: what the muxer gives is on the disk at once, so a killed process loses a
    // fraction of a second, not the seconds a buffer would hold.
    gst_util_set_object_arg(G_OBJECT(sink.get()), "buffer-mode", "unbuffered");
    m_mux = AddToBin(Element(), std::move(mux));
    m_sink = AddToBin(Element(), std::move(sink));
    if (!m_mux || !m_sink || !gst_element_link(m_mux, m_sink)) return false;
    auto sinkPad = AdoptGRef(gst_element_get_static_pad(m_sink, "sink"));
    gst_pad_add_probe(sinkPad.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &AsfWriterFilter::OnFileEvent, this, nullptr);
    // Every pad of the muxer before its first buffer: it refuses requests after that.
    for (const std::unique_ptr<Branch>& branch : m_branches) {
        auto muxSink = AdoptGRef(gst_element_request_pad_simple(m_mux, branch->muxPad));
        auto encoded = AdoptGRef(gst_element_get_static_pad(branch->encoder, "src"));
        if (!muxSink || gst_pad_link(encoded.get(), muxSink.get()) != GST_PAD_LINK_OK) return false;
    }
    return true;
}

void AsfWriterFilter::RemoveFile() {
    for (const std::unique_ptr<Branch>& branch : m_branches) {
        auto encoded = AdoptGRef(gst_element_get_static_pad(branch->encoder, "src"));
        if (auto muxSink = AdoptGRef(gst_pad_get_peer(encoded.get()))) {
            gst_pad_unlink(encoded.get(), muxSink.get());
            gst_element_release_request_pad(m_mux, muxSink.get());
        }
    }
    for (GstElement** element : {&m_mux, &m_sink}) {
        if (!*element) continue;
        gst_element_set_state(*element, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(Element()), *element);  // frees it
        *element = nullptr;
    }
}

bool AsfWriterFilter::AddVideoBranch(const WmStream& stream, int index) {
    int width = kDefaultVideoWidth;
    int height = kDefaultVideoHeight;
    uint32_t bitrate = kDefaultVideoBitrate;
    if (auto vih = ReadVideoInfo(stream.mediaType)) {
        if (vih->bmiHeader.biWidth > 0) width = vih->bmiHeader.biWidth;
        if (vih->bmiHeader.biHeight != 0) height = std::abs(vih->bmiHeader.biHeight);
        if (vih->dwBitRate > 0) bitrate = vih->dwBitRate;
    }
    // videoscale alone would keep the picture's shape by changing the pixel aspect ratio, or by
    // black borders once the ratio is pinned; the profile's size is the frame size, so the ratio
    // and format are pinned and the whole picture is scaled to it (720 x 480 to 640 x 480 too).
    char caps[160];
    std::snprintf(caps, sizeof caps, "video/x-raw,format=I420,width=%d,height=%d,pixel-aspect-ratio=1/1", width, height);
    // The bin owns the chain's elements; these two are borrowed.
    GstElement* queue = MakeElement("queue");
    GstElement* encoder = MakeElement("avenc_wmv2");
    GstElement* scale = MakeElement("videoscale");
    if (scale) g_object_set(scale, "add-borders", FALSE, nullptr);
    // The pictures come as BGRx from the effect filter: our own conversion takes them to I420 at
    // a fraction of videoconvert's cost, which then passes them on (and converts what is not
    // RGB); the scaler works on the smaller I420 picture.
    if (!RegisterRgbToI420()) return false;
    if (!AddChain(Element(), {queue, MakeElement(kRgbToI420Factory), MakeElement("videoconvert"), scale,
                              CapsFilter(caps), encoder}))
        return false;
    int64_t spacing = stream.maxKeyFrameSpacing > 0 ? stream.maxKeyFrameSpacing : kDefaultKeyFrameSpacing;
    int gop = std::max<int>(1, int(spacing * kFramesPerSecond / kUnitsPerSecond));
    g_object_set(encoder, "bitrate", gint(bitrate), "gop-size", gint(gop), nullptr);
    if (!AddBranch(queue, encoder, "video_%u", index)) return false;
    m_branches.back()->video = true;
    return true;
}

bool AsfWriterFilter::AddAudioBranch(const WmStream& stream, int index) {
    WmAudioFormat format = AudioFormatOf(stream);
    char caps[96];
    std::snprintf(caps, sizeof caps, "audio/x-raw,rate=%d,channels=%d", format.rate, format.channels);
    // The bin owns the chain's elements; these two are borrowed.
    GstElement* queue = MakeElement("queue");
    GstElement* encoder = MakeElement("avenc_wmav2");
    if (!AddChain(Element(), {queue, MakeElement("audioconvert"), MakeElement("audioresample"), CapsFilter(caps),
                              encoder}))
        return false;
    g_object_set(encoder, "bitrate", gint(format.bitrate), nullptr);
    if (!AddBranch(queue, encoder, "audio_%u", index)) return false;
    m_branches.back()->lead = WmaEncoderDelay(format.rate);
    return true;
}

bool AsfWriterFilter::AddBranch(GstElement* first, GstElement* encoder, const char* muxPad, int index) {
    auto branch = std::make_unique<Branch>();
    branch->writer = this;
    branch->encoder = encoder;
    branch->muxPad = muxPad;
    gst_segment_init(&branch->input, GST_FORMAT_TIME);
    gst_segment_init(&branch->segment, GST_FORMAT_TIME);
    auto input = AdoptGRef(gst_element_get_static_pad(first, "sink"));
    gst_pad_add_probe(input.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                      &AsfWriterFilter::OnInput, branch.get(), nullptr);
    auto encoded = AdoptGRef(gst_element_get_static_pad(encoder, "src"));
    gst_pad_add_probe(encoded.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                      &AsfWriterFilter::OnEncoded, branch.get(), nullptr);
    m_branches.push_back(std::move(branch));
    char name[16];
    std::snprintf(name, sizeof name, "in%d", index);
    return AddGhostPad(Element(), first, "sink", name) != nullptr;
}

GstPadProbeReturn AsfWriterFilter::OnInput(GstPad*, GstPadProbeInfo* info, gpointer data) {
    // A writer that joins a running graph can still be handed a frame or a block of sound
    // taken before it joined: it is left out rather than stamped at zero over what follows,
    // and before the encoder, so the first encoded frame is still a key frame.
    auto* branch = static_cast<Branch*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) gst_event_copy_segment(event, &branch->input);
        return GST_PAD_PROBE_OK;
    }
    const GstClockTime base = branch->writer->m_base.load();
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (base == 0 || !GST_BUFFER_PTS_IS_VALID(buffer)) return GST_PAD_PROBE_OK;
    GstClockTime end = GST_BUFFER_PTS(buffer) + (GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer) : 0);
    GstClockTime running = gst_segment_to_running_time(&branch->input, GST_FORMAT_TIME, end);
    return GST_CLOCK_TIME_IS_VALID(running) && running <= base ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

GstPadProbeReturn AsfWriterFilter::OnEncoded(GstPad*, GstPadProbeInfo* info, gpointer data) {
    // The encoders stamp from a far-off origin (avenc_wmv2 starts at 1000 hours) and the muxer
    // writes stamps as they come: everything is brought to the pipeline's running time, less
    // the time the writer joined at (and less the encoder's own delay), under a segment that
    // starts at zero.
    auto* branch = static_cast<Branch*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) != GST_EVENT_SEGMENT) return GST_PAD_PROBE_OK;
        // A probe that puts other data in place drops what it was handed.
        auto replaced = AdoptGRef(event);
        gst_event_copy_segment(event, &branch->segment);
        GstSegment fresh;
        gst_segment_init(&fresh, GST_FORMAT_TIME);
        GstEvent* replacement = gst_event_new_segment(&fresh);
        gst_event_set_seqnum(replacement, gst_event_get_seqnum(event));
        GST_PAD_PROBE_INFO_DATA(info) = replacement;
        return GST_PAD_PROBE_OK;
    }
    AsfWriterFilter* writer = branch->writer;
    const GstBuffer* encoded = GST_PAD_PROBE_INFO_BUFFER(info);
    guint64 running = 0;
    const bool timed = GST_BUFFER_PTS_IS_VALID(encoded) &&
                       gst_segment_to_running_time_full(&branch->segment, GST_FORMAT_TIME, GST_BUFFER_PTS(encoded),
                                                        &running) > 0;
    if (!writer->m_videoStarted.load(std::memory_order_acquire)) {
        if (!branch->video) return GST_PAD_PROBE_DROP;
        if (timed) {
            writer->m_base = std::max<GstClockTime>(writer->m_base.load(), running);
            writer->m_videoStarted.store(true, std::memory_order_release);
        }
    }
    const GstClockTime base = writer->m_base.load();
    // What comes out before the file's start (the sound's first frame, which the encoder's
    // delay moves before zero) is left out: stamped at zero, it would give two packets of one
    // stream the same time, which players take for a broken file.
    if (timed && running < base + branch->lead) return GST_PAD_PROBE_DROP;
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    auto rebase = [&](GstClockTime stamp) -> GstClockTime {
        if (!GST_CLOCK_TIME_IS_VALID(stamp)) return GST_CLOCK_TIME_NONE;
        guint64 running = 0;
        if (gst_segment_to_running_time_full(&branch->segment, GST_FORMAT_TIME, stamp, &running) <= 0) return 0;
        return running > base + branch->lead ? running - base - branch->lead : 0;
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
        // Unbuffered, the header the muxer rewrote on its way to the end is already written.
        self->m_journal.End(std::exchange(self->m_journalEntry, {}));
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
        if (auto clock = AdoptGRef(gst_element_get_clock(pipeline))) now = gst_clock_get_time(clock.get());
        GstClockTime baseTime = gst_element_get_base_time(pipeline);
        m_base = GST_CLOCK_TIME_IS_VALID(now) && now > baseTime ? now - baseTime : 0;
        m_videoStarted = false;
        {
            std::lock_guard lock(m_mutex);
            m_started = true;
            m_eosSent = m_finished = false;
        }
        NoteRecording();
    }
    return S_OK;
}

void AsfWriterFilter::NoteRecording() {
    if (m_location.empty()) return;
    std::lock_guard lock(m_mutex);
    if (m_journalEntry.empty()) m_journalEntry = m_journal.Begin(m_location);
}

void AsfWriterFilter::OnStreamStart() {
    m_base = 0;
    m_videoStarted = false;
    bool used = false;
    {
        std::lock_guard lock(m_mutex);
        used = m_started;
        m_started = true;
        m_eosSent = m_finished = false;
    }
    // A muxer is single-use: going back to READY resets neither its sizes nor its index, so a
    // graph run again (after a failed start or a stop) writes its file with a new muxer and
    // file sink, which also starts the file afresh.
    if (used) {
        RemoveFile();
        if (!AddFile()) std::fprintf(stderr, "vistrel: the ASF writer could not renew its muxer\n");
    }
    NoteRecording();
}

void AsfWriterFilter::OnGraphError(GstObject* source) {
    // A failure inside the writer (the disk full under its file sink) stops its stream: no
    // end-of-stream will reach the file, and nobody is to wait for one. The file keeps what
    // was written, and its journal entry, so that the next start repairs it.
    GstObject* bin = GST_OBJECT(Element());
    if (source != bin && !gst_object_has_as_ancestor(source, bin)) return;
    std::lock_guard lock(m_mutex);
    m_finished = true;
    m_done.notify_all();
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
            std::vector<GRefPtr<GstPad>> inputs;
            GST_OBJECT_LOCK(bin);
            for (GList* l = bin->sinkpads; l; l = l->next) inputs.push_back(RefGRef(GST_PAD(l->data)));
            GST_OBJECT_UNLOCK(bin);
            for (const GRefPtr<GstPad>& input : inputs) gst_pad_send_event(input.get(), gst_event_new_eos());
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
