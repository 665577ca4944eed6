#include "GstGraph.h"

#include <algorithm>
#include <cstdio>

#include "BinChain.h"
#include "CapsMediaType.h"
#include "GstFilter.h"
#include "GstPin.h"
#include "VideoRendererFilter.h"
#include "VideoWindow.h"
#include "platform/Strings.h"

namespace platform::gst {
namespace {

FILTER_STATE FilterState(GstState state) {
    switch (state) {
    case GST_STATE_PLAYING: return State_Running;
    case GST_STATE_PAUSED: return State_Paused;
    default: return State_Stopped;
    }
}

bool CanMeet(GstPad* outPad, GstPad* inPad, GstCaps* through) {
    auto outCaps = AdoptGRef(gst_pad_query_caps(outPad, through));
    auto inCaps = AdoptGRef(gst_pad_query_caps(inPad, through));
    return gst_caps_can_intersect(outCaps.get(), inCaps.get());
}

// The kind of stream an output pad offers: its caps' first structure name.
std::string MediaKind(GstPad* pad) {
    auto caps = AdoptGRef(gst_pad_query_caps(pad, nullptr));
    if (!caps || gst_caps_is_empty(caps.get()) || gst_caps_is_any(caps.get())) return {};
    return gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
}

}  // namespace

GstGraph::GstGraph(GtkUiHost* ui)
    : m_pipeline(GRefPtr<GstElement>::Adopt(gst_pipeline_new(nullptr))),
      m_video(std::make_unique<VideoWindow>(ui)) {
    auto bus = AdoptGRef(gst_element_get_bus(m_pipeline.get()));
    gst_bus_set_sync_handler(bus.get(), &GstGraph::OnBusMessage, this, nullptr);
}

GstGraph::~GstGraph() {
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    m_video.reset();
    while (!m_links.empty()) {
        Unlink(m_links.back());
        m_links.pop_back();
    }
    for (Entry& entry : m_filters) entry.filter->OnLeaveGraph();
    m_filters.clear();
    auto bus = AdoptGRef(gst_element_get_bus(m_pipeline.get()));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
}

HRESULT GstGraph::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IGraphBuilder) {
        *object = static_cast<IGraphBuilder*>(this);
    } else if (iid == IID_IMediaControl) {
        *object = static_cast<IMediaControl*>(this);
    } else if (iid == IID_IVideoWindow) {
        *object = static_cast<IVideoWindow*>(this);
    } else if (iid == IID_IMediaEventEx) {
        *object = static_cast<IMediaEventEx*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

uint32_t GstGraph::AddRef() { return m_refs.Add(); }

uint32_t GstGraph::Release() {
    uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
}

// ---- filters ----

GstGraph::Entry* GstGraph::FindEntry(const GstFilter* filter) {
    auto it = std::find_if(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.filter == filter; });
    return it == m_filters.end() ? nullptr : &*it;
}

HRESULT GstGraph::AddFilter(IBaseFilter* filter, const std::wstring& name) {
    if (!filter) return E_POINTER;
    GstFilter* gstFilter = AsGstFilter(filter);
    if (!gstFilter || gstFilter->Graph()) return E_INVALIDARG;
    std::wstring finalName = name;
    if (finalName.empty()) {
        for (int n = 1;; ++n) {
            finalName = L"Filter " + std::to_wstring(n);
            if (std::none_of(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.name == finalName; }))
                break;
        }
    }
    if (std::any_of(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.name == finalName; }))
        return VFW_E_DUPLICATE_NAME;
    HRESULT hr = gstFilter->OnEnterGraph(*this, finalName);
    if (FAILED(hr)) return hr;
    {
        std::lock_guard lock(m_mutex);
        m_filters.push_back(Entry{finalName, ComPtr<IBaseFilter>::Retain(filter), gstFilter});
    }
    if (auto* renderer = dynamic_cast<VideoRendererFilter*>(gstFilter)) m_video->SetRenderer(renderer);
    // A filter joining a graph that is not stopped starts with it.
    GstState current = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &current, nullptr, 0);
    if (current != GST_STATE_NULL || GST_STATE_TARGET(m_pipeline.get()) != GST_STATE_NULL)
        gst_element_sync_state_with_parent(gstFilter->Element());
    return S_OK;
}

HRESULT GstGraph::RemoveFilter(IBaseFilter* filter) {
    GstFilter* gstFilter = AsGstFilter(filter);
    Entry* entry = gstFilter ? FindEntry(gstFilter) : nullptr;
    if (!entry) return VFW_E_NOT_FOUND;
    for (auto it = m_links.begin(); it != m_links.end();) {
        if (it->out == gstFilter || it->in == gstFilter) {
            Unlink(*it);
            it = m_links.erase(it);
        } else {
            ++it;
        }
    }
    if (m_video->Renderer() == gstFilter) m_video->SetRenderer(nullptr);
    gstFilter->OnLeaveGraph();
    ComPtr<IBaseFilter> keep = std::move(entry->ref);  // released after the entry is gone
    std::lock_guard lock(m_mutex);
    m_filters.erase(m_filters.begin() + (entry - m_filters.data()));
    return S_OK;
}

HRESULT GstGraph::FindFilterByName(const std::wstring& name, ComPtr<IBaseFilter>& filter) {
    filter.Reset();
    for (const Entry& entry : m_filters) {
        if (entry.name == name) {
            filter = entry.ref;
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

// ---- connections ----

GstGraph::Link* GstGraph::FindLink(const GstFilter* filter, PIN_DIRECTION direction, int index) {
    for (Link& link : m_links) {
        if (direction == PINDIR_OUTPUT && link.out == filter && link.outIndex == index) return &link;
        if (direction == PINDIR_INPUT && link.in == filter && link.inIndex == index) return &link;
    }
    return nullptr;
}

HRESULT GstGraph::ConnectedPin(const GstPin& pin, ComPtr<IPin>& other) {
    other.Reset();
    const Link* link = FindLink(&pin.Filter(), pin.Direction(), pin.Index());
    if (!link) return VFW_E_NOT_CONNECTED;
    if (pin.Direction() == PINDIR_OUTPUT)
        other = ComPtr<IPin>::Adopt(new GstPin(*link->in, PINDIR_INPUT, link->inIndex));
    else
        other = ComPtr<IPin>::Adopt(new GstPin(*link->out, PINDIR_OUTPUT, link->outIndex));
    return S_OK;
}

HRESULT GstGraph::CheckPins(IPin* out, IPin* in, GstPin*& outPin, GstPin*& inPin, GstPad*& outPad, GstPad*& inPad) {
    if (!out || !in) return E_POINTER;
    outPin = AsGstPin(out);
    inPin = AsGstPin(in);
    if (!outPin || !inPin) return E_INVALIDARG;
    if (outPin->Direction() != PINDIR_OUTPUT || inPin->Direction() != PINDIR_INPUT) return E_INVALIDARG;
    if (outPin->Filter().Graph() != this || inPin->Filter().Graph() != this) return VFW_E_NOT_FOUND;
    if (FindLink(&outPin->Filter(), PINDIR_OUTPUT, outPin->Index()) ||
        FindLink(&inPin->Filter(), PINDIR_INPUT, inPin->Index()))
        return VFW_E_ALREADY_CONNECTED;
    outPad = outPin->Filter().PinPad(PINDIR_OUTPUT, outPin->Index());
    inPad = inPin->Filter().PinPad(PINDIR_INPUT, inPin->Index());
    if (!outPad || !inPad) return E_FAIL;
    if (gst_pad_is_linked(outPad) || gst_pad_is_linked(inPad)) return VFW_E_ALREADY_CONNECTED;
    return S_OK;
}

HRESULT GstGraph::LinkThrough(GstPin& outPin, GstPin& inPin, GstPad* outPad, GstPad* inPad,
                              std::vector<GRefPtr<GstElement>> helpers) {
    Link link{&outPin.Filter(), outPin.Index(), &inPin.Filter(), inPin.Index(), {}};
    bool linked = true;
    for (GRefPtr<GstElement>& helper : helpers) {
        GstElement* added = AddToBin(m_pipeline.get(), std::move(helper));
        if (added) link.helpers.push_back(added);
        linked = linked && added;
    }
    GRefPtr<GstPad> from = RefGRef(outPad);
    for (GstElement* helper : link.helpers) {
        auto sink = AdoptGRef(gst_element_get_static_pad(helper, "sink"));
        linked = linked && gst_pad_link(from.get(), sink.get()) == GST_PAD_LINK_OK;
        from = AdoptGRef(gst_element_get_static_pad(helper, "src"));
    }
    linked = linked && gst_pad_link(from.get(), inPad) == GST_PAD_LINK_OK;
    if (!linked) {
        Unlink(link);
        return VFW_E_CANNOT_CONNECT;
    }
    if (GST_STATE_TARGET(m_pipeline.get()) != GST_STATE_NULL)
        for (GstElement* helper : link.helpers) gst_element_sync_state_with_parent(helper);
    m_links.push_back(std::move(link));
    return S_OK;
}

void GstGraph::Unlink(Link& link) {
    GstPad* outPad = link.out->PinPad(PINDIR_OUTPUT, link.outIndex);
    if (auto peer = AdoptGRef(outPad ? gst_pad_get_peer(outPad) : nullptr)) gst_pad_unlink(outPad, peer.get());
    GstPad* inPad = link.in->PinPad(PINDIR_INPUT, link.inIndex);
    if (auto peer = AdoptGRef(inPad ? gst_pad_get_peer(inPad) : nullptr)) gst_pad_unlink(peer.get(), inPad);
    for (GstElement* helper : link.helpers) {
        gst_element_set_state(helper, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(m_pipeline.get()), helper);  // unlinks and frees it
    }
    link.helpers.clear();
}

HRESULT GstGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) {
    GstPin* outPin = nullptr;
    GstPin* inPin = nullptr;
    GstPad* outPad = nullptr;
    GstPad* inPad = nullptr;
    if (HRESULT hr = CheckPins(out, in, outPin, inPin, outPad, inPad); FAILED(hr)) return hr;
    if (!type) {
        if (!CanMeet(outPad, inPad, nullptr)) return VFW_E_NO_ACCEPTABLE_TYPES;
        return LinkThrough(*outPin, *inPin, outPad, inPad, {});
    }
    auto caps = AdoptGRef(MediaTypeToCaps(*type));
    if (!caps) return VFW_E_TYPE_NOT_ACCEPTED;
    if (!CanMeet(outPad, inPad, caps.get())) return VFW_E_NO_ACCEPTABLE_TYPES;
    auto capsFilter = AdoptGRef(MakeElement("capsfilter"));
    if (!capsFilter) return E_FAIL;
    g_object_set(capsFilter.get(), "caps", caps.get(), nullptr);
    std::vector<GRefPtr<GstElement>> helpers;
    helpers.push_back(std::move(capsFilter));
    return LinkThrough(*outPin, *inPin, outPad, inPad, std::move(helpers));
}

HRESULT GstGraph::Connect(IPin* out, IPin* in) {
    GstPin* outPin = nullptr;
    GstPin* inPin = nullptr;
    GstPad* outPad = nullptr;
    GstPad* inPad = nullptr;
    if (HRESULT hr = CheckPins(out, in, outPin, inPin, outPad, inPad); FAILED(hr)) return hr;
    if (CanMeet(outPad, inPad, nullptr)) return LinkThrough(*outPin, *inPin, outPad, inPad, {});

    // Converters for the kind of stream the output gives; they belong to the connection, not
    // to the graph's filters.
    std::string kind = MediaKind(outPad);
    std::vector<const char*> chain;
    const char* target = nullptr;
    if (kind == "video/x-raw") {
        chain = {"videoconvert", "videoscale"};
        target = "video/x-raw";
    } else if (kind == "image/jpeg") {
        chain = {"jpegdec", "videoconvert", "videoscale"};
        target = "video/x-raw";
    } else if (kind == "audio/x-raw") {
        chain = {"audioconvert", "audioresample"};
        target = "audio/x-raw";
    } else {
        return VFW_E_CANNOT_CONNECT;
    }
    auto targetCaps = AdoptGRef(gst_caps_from_string(target));
    auto inCaps = AdoptGRef(gst_pad_query_caps(inPad, nullptr));
    if (!gst_caps_can_intersect(targetCaps.get(), inCaps.get())) return VFW_E_CANNOT_CONNECT;

    std::vector<GRefPtr<GstElement>> helpers;
    for (const char* factory : chain) {
        auto helper = AdoptGRef(MakeElement(factory));
        if (!helper) return VFW_E_CANNOT_CONNECT;
        helpers.push_back(std::move(helper));
    }
    return LinkThrough(*outPin, *inPin, outPad, inPad, std::move(helpers));
}

// ---- state ----

HRESULT GstGraph::ChangeState(GstState target) {
    GstState current = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &current, nullptr, 0);
    {
        std::lock_guard lock(m_mutex);
        if (m_error) {
            // A graph that failed starts over from nothing.
            m_error = false;
            m_errorText.clear();
            current = GST_STATE_NULL;
            gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
        }
    }
    if (current == GST_STATE_NULL)
        for (Entry& entry : m_filters) entry.filter->OnStreamStart();
    switch (gst_element_set_state(m_pipeline.get(), target)) {
    case GST_STATE_CHANGE_FAILURE: return E_FAIL;
    case GST_STATE_CHANGE_ASYNC: return S_FALSE;
    default: return S_OK;
    }
}

HRESULT GstGraph::Run() { return ChangeState(GST_STATE_PLAYING); }

HRESULT GstGraph::Pause() { return ChangeState(GST_STATE_PAUSED); }

void GstGraph::FinishWriters() {
    std::vector<GstFilter*> waiting;
    for (Entry& entry : m_filters)
        if (entry.filter->StartFinishing()) waiting.push_back(entry.filter);
    if (waiting.empty()) return;
    // A paused sink holds the next buffer until it plays (preroll), and with it the muxer's
    // index and header: a graph paused for a sleep plays on until its files are complete.
    GstState current = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &current, nullptr, 0);
    if (current == GST_STATE_PAUSED) gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING);
    gint64 deadline = g_get_monotonic_time() + kFinishBoundUs;
    for (GstFilter* filter : waiting) {
        if (!filter->WaitFinished(deadline))
            std::fprintf(stderr, "vistrel: \"%s\" did not finish within %d s; stopping anyway\n",
                         ToUtf8(filter->NameInGraph()).c_str(), int(kFinishBoundUs / G_TIME_SPAN_SECOND));
    }
}

HRESULT GstGraph::Stop() {
    GstState current = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &current, nullptr, 0);
    // Only a stream that has run can be finished; a writer that never started has no file.
    if (current == GST_STATE_PLAYING || current == GST_STATE_PAUSED) FinishWriters();
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    std::lock_guard lock(m_mutex);
    m_error = false;
    m_errorText.clear();
    return S_OK;
}

HRESULT GstGraph::GetState(uint32_t timeoutMs, FILTER_STATE& state) {
    // Waits in slices, so an error reported meanwhile ends the wait even when the pipeline
    // would never settle.
    constexpr gint64 kSliceUs = 20 * G_TIME_SPAN_MILLISECOND;
    gint64 deadline = timeoutMs == INFINITE ? G_MAXINT64 : g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    for (;;) {
        GstState current = GST_STATE_NULL;
        GstState pending = GST_STATE_VOID_PENDING;
        gint64 now = g_get_monotonic_time();
        gint64 slice = std::min(kSliceUs, std::max<gint64>(deadline - now, 0));
        GstStateChangeReturn ret = gst_element_get_state(m_pipeline.get(), &current, &pending, GstClockTime(slice) * 1000);
        state = FilterState(current);
        {
            std::lock_guard lock(m_mutex);
            if (m_error) return E_FAIL;
        }
        switch (ret) {
        case GST_STATE_CHANGE_SUCCESS:
        case GST_STATE_CHANGE_NO_PREROLL:  // a live source: paused counts as settled
            return S_OK;
        case GST_STATE_CHANGE_FAILURE:
            return E_FAIL;
        case GST_STATE_CHANGE_ASYNC:
            if (g_get_monotonic_time() >= deadline) {
                state = FilterState(pending != GST_STATE_VOID_PENDING ? pending : GST_STATE_TARGET(m_pipeline.get()));
                return VFW_S_STATE_INTERMEDIATE;
            }
            break;
        }
    }
}

std::vector<ComPtr<IBaseFilter>> GstGraph::Filters() const {
    std::lock_guard lock(m_mutex);
    std::vector<ComPtr<IBaseFilter>> filters;
    for (const Entry& entry : m_filters) filters.push_back(entry.ref);
    return filters;
}

std::string GstGraph::LastError() const {
    std::lock_guard lock(m_mutex);
    return m_errorText;
}

GstBusSyncReply GstGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
    // Messages are handled where they are posted, so the state is right without a main loop,
    // and dropped afterwards, so none piles up on a bus nobody pops. A handler that drops a
    // message owns it: each message holds its source, so one left behind keeps the element
    // and the pipeline it is in alive for good.
    auto dropped = AdoptGRef(message);
    auto* self = static_cast<GstGraph*>(data);
    // With GST_DEBUG_DUMP_DOT_DIR set, each running graph is drawn there (elements, links, caps).
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_STATE_CHANGED &&
        GST_MESSAGE_SRC(message) == GST_OBJECT(self->m_pipeline.get())) {
        GstState state = GST_STATE_NULL;
        gst_message_parse_state_changed(message, nullptr, &state, nullptr);
        if (state == GST_STATE_PLAYING)
            GST_DEBUG_BIN_TO_DOT_FILE_WITH_TS(GST_BIN(self->m_pipeline.get()), GST_DEBUG_GRAPH_SHOW_ALL, "vistrel");
    }
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GErrorPtr error;
        GCharPtr debug;
        gst_message_parse_error(message, OutPtr(error), OutPtr(debug));
        bool first = false;
        std::function<void()> notify;
        {
            std::lock_guard lock(self->m_mutex);
            if (!self->m_error) {
                first = true;
                self->m_error = true;
                self->m_errorText = error ? error->message : "error";
                notify = self->m_notify;
            }
        }
        for (const ComPtr<IBaseFilter>& filter : self->Filters())
            AsGstFilter(filter.Get())->OnGraphError(GST_MESSAGE_SRC(message));
        if (notify) notify();
        if (first) {
            std::fprintf(stderr, "vistrel: graph error from %s: %s\n", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)),
                         error ? error->message : "?");
            // The file being written keeps what it holds: its writer is finished off the
            // streaming thread that reported the error.
            self->AddRef();
            gst_element_call_async(
                self->m_pipeline.get(),
                [](GstElement*, gpointer user) {
                    for (const ComPtr<IBaseFilter>& filter : static_cast<GstGraph*>(user)->Filters())
                        AsGstFilter(filter.Get())->StartFinishing();
                },
                self, [](gpointer user) { static_cast<GstGraph*>(user)->Release(); });
        }
    }
    return GST_BUS_DROP;
}

HRESULT GstGraph::SetNotifyCallback(std::function<void()> notify) {
    std::lock_guard lock(m_mutex);
    m_notify = std::move(notify);
    return S_OK;
}

// ---- video window: the renderer's widget ----

HRESULT GstGraph::put_Owner(WindowHandle owner) { return m_video->SetOwner(owner); }
HRESULT GstGraph::put_Left(int32_t left) { return m_video->SetLeft(left); }
HRESULT GstGraph::put_Top(int32_t top) { return m_video->SetTop(top); }
HRESULT GstGraph::put_Width(int32_t width) { return m_video->SetWidth(width); }
HRESULT GstGraph::put_Height(int32_t height) { return m_video->SetHeight(height); }
HRESULT GstGraph::put_WindowStyle(int32_t style) { return m_video->SetStyle(style); }
HRESULT GstGraph::put_Visible(bool visible) { return m_video->SetVisible(visible); }
HRESULT GstGraph::put_WindowState(int32_t state) { return m_video->SetWindowState(state); }
HRESULT GstGraph::put_FullScreenMode(bool on) { return m_video->SetFullScreen(on); }
HRESULT GstGraph::put_MessageDrain(WindowHandle drain) { return m_video->SetMessageDrain(drain); }

}  // namespace platform::gst
