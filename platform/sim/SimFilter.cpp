#include "SimFilter.h"

#include <algorithm>

#include "SimMediaTypes.h"

namespace platform::sim {

namespace {

class SimPinEnum final : public SingleComObject<IEnumPins> {
public:
    SimPinEnum(IBaseFilter* filter, std::vector<SimPin*> pins)
        : m_filter(ComPtr<IBaseFilter>::Retain(filter)), m_pins(std::move(pins)) {}

    HRESULT Next(ComPtr<IPin>& pin) override {
        if (m_next >= m_pins.size()) {
            pin.Reset();
            return S_FALSE;
        }
        pin = ComPtr<IPin>::Retain(m_pins[m_next++]);
        return S_OK;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    ComPtr<IBaseFilter> m_filter;  // keeps the pins alive
    std::vector<SimPin*> m_pins;
    size_t m_next = 0;
};

}  // namespace

SimFilter::SimFilter(std::shared_ptr<SimMediaContext> context, SimFilterKind kind)
    : m_context(std::move(context)), m_kind(kind) {}

HRESULT SimFilter::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = FindInterface(iid);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

uint32_t SimFilter::Release() {
    const uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
}

void* SimFilter::FindInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IBaseFilter) return static_cast<IBaseFilter*>(this);
    return nullptr;
}

HRESULT SimFilter::EnumPins(ComPtr<IEnumPins>& enumerator) {
    std::vector<SimPin*> pins;
    for (const auto& pin : m_pins) pins.push_back(pin.get());
    enumerator = MakeComObject<SimPinEnum>(this, std::move(pins));
    return S_OK;
}

HRESULT SimFilter::QueryFilterInfo(std::wstring& name) {
    name = m_name;
    return S_OK;
}

SimPin* SimFilter::Pin(PIN_DIRECTION direction, int index) const {
    for (const auto& pin : m_pins)
        if (pin->Direction() == direction && pin->Index() == index) return pin.get();
    return nullptr;
}

int SimFilter::PinCount(PIN_DIRECTION direction) const {
    return static_cast<int>(std::count_if(m_pins.begin(), m_pins.end(),
                                          [&](const auto& pin) { return pin->Direction() == direction; }));
}

std::vector<AM_MEDIA_TYPE> SimFilter::OfferedTypes(const SimPin&) const {
    const SimPin* in = Pin(PINDIR_INPUT, 0);
    if (!in || !in->ConnectionType()) return {};
    return {*in->ConnectionType()};
}

bool SimFilter::Accepts(const SimPin& in, const AM_MEDIA_TYPE& type) const {
    return SimMajorsMatch(in.Major(), type.majortype);
}

AM_MEDIA_TYPE SimFilter::Converted(const SimPin&, const AM_MEDIA_TYPE& type) const { return type; }

void* SimFilter::PinInterface(SimPin&, REFIID) { return nullptr; }

void SimFilter::JoinGraph(SimGraph* graph, std::wstring name) {
    m_graph = graph;
    m_name = std::move(name);
}

void SimFilter::LeaveGraph() {
    for (const auto& pin : m_pins) pin->Disconnect();
    m_graph = nullptr;
    m_name.clear();
}

SimPin& SimFilter::AddPin(PIN_DIRECTION direction, GUID major) {
    auto pin = std::make_unique<SimPin>(*this, direction, PinCount(direction), major);
    // Inputs come before outputs in the enumeration, as most filters list them.
    auto at = direction == PINDIR_INPUT
                  ? std::find_if(m_pins.begin(), m_pins.end(),
                                 [](const auto& p) { return p->Direction() == PINDIR_OUTPUT; })
                  : m_pins.end();
    return **m_pins.insert(at, std::move(pin));
}

void SimFilter::RetirePins(PIN_DIRECTION direction) {
    for (auto it = m_pins.begin(); it != m_pins.end();) {
        if ((*it)->Direction() == direction) {
            (*it)->Disconnect();
            m_retired.push_back(std::move(*it));
            it = m_pins.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace platform::sim
