// A pin: a part of its filter (references count on the filter), joined to at most one peer.
#pragma once

#include <optional>

#include "platform/ComObject.h"
#include "platform/media/Filters.h"

namespace platform::sim {

class SimFilter;

class SimPin final : public IPin {
public:
    SimPin(SimFilter& filter, PIN_DIRECTION direction, int index, GUID major);
    SimPin(const SimPin&) = delete;
    SimPin& operator=(const SimPin&) = delete;
    ~SimPin() { Disconnect(); }

    HRESULT QueryInterface(REFIID iid, void** ppv) override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    HRESULT QueryDirection(PIN_DIRECTION& direction) override;
    HRESULT EnumMediaTypes(ComPtr<IEnumMediaTypes>& enumerator) override;
    HRESULT ConnectedTo(ComPtr<IPin>& other) override;

    SimFilter& Filter() const { return m_filter; }
    PIN_DIRECTION Direction() const { return m_direction; }
    int Index() const { return m_index; }  // among the filter's pins of the same direction
    const GUID& Major() const { return m_major; }  // GUID_NULL: any
    SimPin* Peer() const { return m_peer; }
    const std::optional<AM_MEDIA_TYPE>& ConnectionType() const { return m_type; }

    // Both ends at once.
    void ConnectTo(SimPin& peer, const AM_MEDIA_TYPE& type);
    void Disconnect();

private:
    SimFilter& m_filter;
    const PIN_DIRECTION m_direction;
    const int m_index;
    const GUID m_major;
    SimPin* m_peer = nullptr;
    std::optional<AM_MEDIA_TYPE> m_type;
};

}  // namespace platform::sim
