#include "SimFilterPin.h"

#include "SimFilter.h"

namespace platform::sim {

namespace {

class SimMediaTypeEnum final : public SingleComObject<IEnumMediaTypes> {
public:
    SimMediaTypeEnum(std::shared_ptr<SimMediaContext> context, std::vector<AM_MEDIA_TYPE> types)
        : m_context(std::move(context)), m_types(std::move(types)) {}

    HRESULT Next(uint32_t count, std::vector<AM_MEDIA_TYPE>& types) override {
        if (const HRESULT hr = m_context->Check("EnumMediaTypes.Next"); hr != S_OK) return hr;
        uint32_t fetched = 0;
        for (; fetched < count && m_next < m_types.size(); ++fetched) types.push_back(m_types[m_next++]);
        return fetched == count ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    std::shared_ptr<SimMediaContext> m_context;
    std::vector<AM_MEDIA_TYPE> m_types;
    size_t m_next = 0;
};

}  // namespace

SimPin::SimPin(SimFilter& filter, PIN_DIRECTION direction, int index, GUID major)
    : m_filter(filter), m_direction(direction), m_index(index), m_major(major) {}

HRESULT SimPin::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = (iid == IID_IUnknown || iid == IID_IPin) ? static_cast<IPin*>(this) : m_filter.PinInterface(*this, iid);
    if (!*ppv) return E_NOINTERFACE;
    m_filter.AddRef();
    return S_OK;
}

uint32_t SimPin::AddRef() { return m_filter.AddRef(); }

uint32_t SimPin::Release() { return m_filter.Release(); }

HRESULT SimPin::QueryDirection(PIN_DIRECTION& direction) {
    direction = m_direction;
    return S_OK;
}

HRESULT SimPin::EnumMediaTypes(ComPtr<IEnumMediaTypes>& enumerator) {
    enumerator.Reset();
    SimMediaContext& context = m_filter.Context();
    if (const HRESULT hr = context.Check("EnumMediaTypes"); hr != S_OK) return hr;
    std::vector<AM_MEDIA_TYPE> types;
    if (m_direction == PINDIR_OUTPUT) types = m_filter.OfferedTypes(*this);
    // A copy of the types: the enumerator does not keep the pin alive.
    enumerator = MakeComObject<SimMediaTypeEnum>(m_filter.ContextPtr(), std::move(types));
    return S_OK;
}

HRESULT SimPin::ConnectedTo(ComPtr<IPin>& other) {
    if (!m_peer) {
        other.Reset();
        return VFW_E_NOT_CONNECTED;
    }
    other = ComPtr<IPin>::Retain(m_peer);
    return S_OK;
}

void SimPin::ConnectTo(SimPin& peer, const AM_MEDIA_TYPE& type) {
    Disconnect();
    peer.Disconnect();
    m_peer = &peer;
    peer.m_peer = this;
    m_type = type;
    peer.m_type = type;
}

void SimPin::Disconnect() {
    if (m_peer) {
        m_peer->m_peer = nullptr;
        m_peer->m_type.reset();
    }
    m_peer = nullptr;
    m_type.reset();
}

}  // namespace platform::sim
