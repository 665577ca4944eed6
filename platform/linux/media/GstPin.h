// A pin: one pad of a filter, named by its direction and its index among the filter's pins of
// that direction. Pins are handed out afresh by every enumeration; two pins are the same pin
// when filter, direction and index agree.
#pragma once

#include "platform/media/Filters.h"

namespace platform::gst {

// Private identifier: QueryInterface with it hands back the GstPin behind an IPin.
inline constexpr IID IID_GstPin{0x7a1c0e53, 0x3d1f, 0x4b8e, {0x9c, 0x41, 0x56, 0x10, 0x2b, 0x7e, 0xa3, 0x02}};

class GstFilter;

class GstPin final : public IPin {
public:
    GstPin(GstFilter& filter, PIN_DIRECTION direction, int index);
    GstPin(const GstPin&) = delete;
    GstPin& operator=(const GstPin&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    HRESULT QueryDirection(PIN_DIRECTION& direction) override;
    HRESULT EnumMediaTypes(ComPtr<IEnumMediaTypes>& enumerator) override;
    HRESULT ConnectedTo(ComPtr<IPin>& other) override;

    GstFilter& Filter() const { return *m_filter.Get(); }
    PIN_DIRECTION Direction() const { return m_direction; }
    int Index() const { return m_index; }

private:
    ~GstPin() = default;

    RefCount m_refs;
    ComPtr<GstFilter> m_filter;  // a pin keeps its filter alive
    PIN_DIRECTION m_direction;
    int m_index;
};

// The GstPin behind an interface of ours, or nullptr for a foreign object.
GstPin* AsGstPin(IUnknown* object);

}  // namespace platform::gst
