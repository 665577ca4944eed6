#include "GstPin.h"

#include "GstFilter.h"
#include "GstGraph.h"
#include "PinEnumerators.h"

namespace platform::gst {

GstPin::GstPin(GstFilter& filter, PIN_DIRECTION direction, int index)
    : m_filter(ComPtr<GstFilter>::Retain(&filter)), m_direction(direction), m_index(index) {}

HRESULT GstPin::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin || iid == IID_GstPin) {
        AddRef();
        *object = static_cast<IPin*>(this);
        return S_OK;
    }
    return m_filter->PinQueryInterface(m_direction, m_index, iid, object);
}

uint32_t GstPin::AddRef() { return m_refs.Add(); }

uint32_t GstPin::Release() {
    uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
}

HRESULT GstPin::QueryDirection(PIN_DIRECTION& direction) {
    direction = m_direction;
    return S_OK;
}

HRESULT GstPin::EnumMediaTypes(ComPtr<IEnumMediaTypes>& enumerator) {
    enumerator = CreateMediaTypeEnumerator(m_filter->PinMediaTypes(m_direction, m_index));
    return S_OK;
}

HRESULT GstPin::ConnectedTo(ComPtr<IPin>& other) {
    other.Reset();
    GstGraph* graph = m_filter->Graph();
    if (!graph) return VFW_E_NOT_CONNECTED;
    return graph->ConnectedPin(*this, other);
}

GstPin* AsGstPin(IUnknown* object) {
    if (!object) return nullptr;
    void* pv = nullptr;
    if (FAILED(object->QueryInterface(IID_GstPin, &pv))) return nullptr;
    auto* pin = static_cast<GstPin*>(static_cast<IPin*>(pv));
    pin->Release();  // the caller holds the object, so the pin stays alive
    return pin;
}

}  // namespace platform::gst
