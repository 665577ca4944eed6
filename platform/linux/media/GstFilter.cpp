#include "GstFilter.h"

#include "CapsMediaType.h"
#include "GstGraph.h"
#include "GstPin.h"
#include "PinEnumerators.h"

namespace platform::gst {

GstFilter::GstFilter(GstElement* element) : m_element(GRefPtr<GstElement>::Adopt(element)) {}

GstFilter::~GstFilter() {
    // A filter leaves its graph before the last reference goes (the graph holds one), so the
    // element is only ours here; it must not be freed while still PLAYING.
    if (m_element) gst_element_set_state(m_element.get(), GST_STATE_NULL);
}

HRESULT GstFilter::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IBaseFilter || iid == IID_GstFilter) {
        AddRef();
        *object = static_cast<IBaseFilter*>(this);
        return S_OK;
    }
    return QueryExtra(iid, object);
}

uint32_t GstFilter::AddRef() { return m_refs.Add(); }

uint32_t GstFilter::Release() {
    uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
}

HRESULT GstFilter::EnumPins(ComPtr<IEnumPins>& enumerator) {
    std::vector<ComPtr<IPin>> pins;
    for (PIN_DIRECTION direction : {PINDIR_INPUT, PINDIR_OUTPUT}) {
        int count = PinCount(direction);
        for (int i = 0; i < count; ++i) pins.push_back(ComPtr<IPin>::Adopt(new GstPin(*this, direction, i)));
    }
    enumerator = CreatePinEnumerator(std::move(pins));
    return S_OK;
}

HRESULT GstFilter::QueryFilterInfo(std::wstring& name) {
    name = m_name;
    return S_OK;
}

int GstFilter::PinCount(PIN_DIRECTION direction) const {
    int count = 0;
    while (PinPad(direction, count)) ++count;
    return count;
}

HRESULT GstFilter::OnEnterGraph(GstGraph& graph, const std::wstring& name) {
    if (!gst_bin_add(GST_BIN(graph.Pipeline()), m_element.get())) return E_FAIL;
    m_graph = &graph;
    m_name = name;
    return S_OK;
}

void GstFilter::OnLeaveGraph() {
    if (!m_graph) return;
    gst_element_set_state(m_element.get(), GST_STATE_NULL);
    gst_bin_remove(GST_BIN(m_graph->Pipeline()), m_element.get());
    m_graph = nullptr;
    m_name.clear();
}

GstPad* GstFilter::PinPad(PIN_DIRECTION direction, int index) const {
    // Always pads in the element's own order (a bin's ghost pads in the order they were added).
    GstElement* element = m_element.get();
    GstPad* found = nullptr;
    GST_OBJECT_LOCK(element);
    int i = 0;
    for (GList* l = direction == PINDIR_INPUT ? element->sinkpads : element->srcpads; l; l = l->next) {
        auto* pad = GST_PAD(l->data);
        if (GST_PAD_PAD_TEMPLATE(pad) && GST_PAD_TEMPLATE_PRESENCE(GST_PAD_PAD_TEMPLATE(pad)) != GST_PAD_ALWAYS) continue;
        if (i++ == index) {
            found = pad;
            break;
        }
    }
    GST_OBJECT_UNLOCK(element);
    return found;  // the element holds its pads for as long as the filter lives
}

std::vector<AM_MEDIA_TYPE> GstFilter::PinMediaTypes(PIN_DIRECTION direction, int index) const {
    GstPad* pad = PinPad(direction, index);
    if (!pad) return {};
    auto caps = AdoptGRef(gst_pad_get_current_caps(pad));
    if (!caps) caps = AdoptGRef(gst_pad_query_caps(pad, nullptr));
    return CapsToMediaTypes(caps.get());
}

HRESULT GstFilter::PinQueryInterface(PIN_DIRECTION, int, REFIID, void**) { return E_NOINTERFACE; }

HRESULT GstFilter::QueryExtra(REFIID, void**) { return E_NOINTERFACE; }

GstFilter* AsGstFilter(IUnknown* object) {
    if (!object) return nullptr;
    void* pv = nullptr;
    if (FAILED(object->QueryInterface(IID_GstFilter, &pv))) return nullptr;
    auto* filter = static_cast<GstFilter*>(static_cast<IBaseFilter*>(pv));
    filter->Release();  // the caller holds the object, so the filter stays alive
    return filter;
}

}  // namespace platform::gst
