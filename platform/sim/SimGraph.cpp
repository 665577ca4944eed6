#include "SimGraph.h"

#include <algorithm>

#include "SimMediaTypes.h"
#include "platform/Strings.h"

namespace platform::sim {

SimGraph::SimGraph(std::shared_ptr<SimMediaContext> context)
    : m_context(std::move(context)), m_record(std::make_shared<SimGraphRecord>()) {
    m_record->id = static_cast<int>(m_context->graphs.size()) + 1;
    m_context->graphs.push_back(m_record);
    m_context->liveGraphs.push_back(this);
}

SimGraph::~SimGraph() {
    // A graph going away stops first, and a stop waits for the sample in delivery.
    m_frames.reset();
    for (const SimGraphFilter& entry : m_record->filters) entry.filter->LeaveGraph();
    m_record->released = true;
    Event("ReleaseGraph");
    auto& live = m_context->liveGraphs;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void* SimGraph::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IGraphBuilder) return static_cast<IGraphBuilder*>(this);
    if (iid == IID_IMediaControl) {
        return SUCCEEDED(m_context->Check("QueryInterface:MediaControl")) ? static_cast<IMediaControl*>(this) : nullptr;
    }
    if (iid == IID_IVideoWindow) return static_cast<IVideoWindow*>(this);
    if (iid == IID_IMediaEventEx) return static_cast<IMediaEventEx*>(this);
    return nullptr;
}

void SimGraph::Event(std::string line) {
    m_context->Log(line);
    m_record->events.push_back(std::move(line));
}

HRESULT SimGraph::AddFilter(IBaseFilter* filter, const std::wstring& name) {
    if (!filter) return E_POINTER;
    auto* ours = dynamic_cast<SimFilter*>(filter);
    if (!ours) return E_INVALIDARG;
    std::wstring unique = name;
    for (int n = 1; unique.empty() || (name.empty() && m_record->Filter(unique)); ++n)
        unique = L"Filter " + std::to_wstring(n);

    HRESULT hr = m_context->Check("AddFilter:" + ToUtf8(unique));
    if (hr == S_OK && m_record->Filter(unique)) hr = VFW_E_DUPLICATE_NAME;
    if (hr == S_OK && ours->Graph()) hr = E_INVALIDARG;  // already in a graph
    if (hr == S_OK) hr = ours->CanJoin();
    Event("AddFilter " + ToUtf8(unique) + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;
    ours->JoinGraph(this, unique);
    m_record->filters.push_back({unique, ComPtr<SimFilter>::Retain(ours)});
    return S_OK;
}

HRESULT SimGraph::RemoveFilter(IBaseFilter* filter) {
    if (!filter) return E_POINTER;
    auto* ours = dynamic_cast<SimFilter*>(filter);
    if (!ours || ours->Graph() != this) return VFW_E_NOT_FOUND;
    const std::wstring name = ours->Name();
    const HRESULT hr = m_context->Check("RemoveFilter:" + ToUtf8(name));
    Event("RemoveFilter " + ToUtf8(name) + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;
    auto& connections = m_record->connections;
    connections.erase(std::remove_if(connections.begin(), connections.end(),
                                     [&](const SimConnection& c) { return c.from == name || c.to == name; }),
                      connections.end());
    ours->LeaveGraph();
    auto& filters = m_record->filters;
    // Erasing may release the last reference, so nothing of the filter is used after this.
    filters.erase(std::find_if(filters.begin(), filters.end(), [&](const SimGraphFilter& f) { return f.name == name; }));
    return S_OK;
}

HRESULT SimGraph::FindFilterByName(const std::wstring& name, ComPtr<IBaseFilter>& filter) {
    SimFilter* found = m_record->Filter(name);
    filter = ComPtr<IBaseFilter>::Retain(found);
    return found ? S_OK : VFW_E_NOT_FOUND;
}

HRESULT SimGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) {
    if (!out || !in) return E_POINTER;
    auto* from = dynamic_cast<SimPin*>(out);
    auto* to = dynamic_cast<SimPin*>(in);
    if (!from || !to) return E_INVALIDARG;
    return Join(*from, *to, SimConnection::How::Direct, type);
}

HRESULT SimGraph::Connect(IPin* out, IPin* in) {
    if (!out || !in) return E_POINTER;
    auto* from = dynamic_cast<SimPin*>(out);
    auto* to = dynamic_cast<SimPin*>(in);
    if (!from || !to) return E_INVALIDARG;
    return Join(*from, *to, SimConnection::How::Intelligent, nullptr);
}

std::string SimGraph::Describe(const SimPin& out, const SimPin& in, SimConnection::How how) const {
    return "Connect " + ToUtf8(out.Filter().Name()) + ":" + std::to_string(out.Index()) + "->" +
           ToUtf8(in.Filter().Name()) + ":" + std::to_string(in.Index()) + " " + SimHowName(how);
}

namespace {

// Negotiation: the input takes one of the proposed types as it is, or, for an intelligent
// connection, a converter turns one of the same major type into what the input wants.
HRESULT Negotiate(const SimPin& out, const SimPin& in, SimConnection::How how, const AM_MEDIA_TYPE* type,
                  AM_MEDIA_TYPE& chosen) {
    std::vector<AM_MEDIA_TYPE> proposed = out.Filter().ProposedTypes(out);
    if (type) {
        const auto size = SimVideoSize(*type);
        std::erase_if(proposed, [&](const AM_MEDIA_TYPE& t) {
            return t.majortype != type->majortype || t.subtype != type->subtype ||
                   (!type->format.empty() && SimVideoSize(t) != size);
        });
    }
    for (const AM_MEDIA_TYPE& t : proposed) {
        if (in.Filter().Accepts(in, t)) {
            chosen = t;
            return S_OK;
        }
    }
    if (how == SimConnection::How::Direct) return VFW_E_NO_ACCEPTABLE_TYPES;
    for (const AM_MEDIA_TYPE& t : proposed) {
        if (SimMajorsMatch(in.Major(), t.majortype)) {
            chosen = in.Filter().Converted(in, t);
            return S_OK;
        }
    }
    return VFW_E_CANNOT_CONNECT;
}

}  // namespace

HRESULT SimGraph::Join(SimPin& out, SimPin& in, SimConnection::How how, const AM_MEDIA_TYPE* type) {
    if (out.Direction() != PINDIR_OUTPUT || in.Direction() != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
    if (out.Filter().Graph() != this || in.Filter().Graph() != this) return VFW_E_NOT_IN_GRAPH;
    const std::string line = Describe(out, in, how);
    HRESULT hr = S_OK;
    if (how != SimConnection::How::Render)
        hr = m_context->Check((how == SimConnection::How::Direct ? "ConnectDirect:" : "Connect:") +
                              ToUtf8(out.Filter().Name()) + "->" + ToUtf8(in.Filter().Name()));
    if (hr == S_OK && !IsStopped()) hr = VFW_E_NOT_STOPPED;
    if (hr == S_OK && (out.Peer() || in.Peer())) hr = VFW_E_ALREADY_CONNECTED;
    AM_MEDIA_TYPE chosen;
    if (hr == S_OK) hr = Negotiate(out, in, how, type, chosen);
    Event(line + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;
    out.ConnectTo(in, chosen);
    m_record->connections.push_back({out.Filter().Name(), out.Index(), in.Filter().Name(), in.Index(), how});
    return S_OK;
}

}  // namespace platform::sim
