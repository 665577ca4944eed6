#include "PinEnumerators.h"

#include <utility>

#include "platform/ComObject.h"

namespace platform::gst {
namespace {

class PinEnumerator final : public SingleComObject<IEnumPins> {
public:
    explicit PinEnumerator(std::vector<ComPtr<IPin>> pins) : m_pins(std::move(pins)) {}
    HRESULT Next(ComPtr<IPin>& pin) override {
        if (m_next >= m_pins.size()) {
            pin.Reset();
            return S_FALSE;
        }
        pin = m_pins[m_next++];
        return S_OK;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    std::vector<ComPtr<IPin>> m_pins;
    size_t m_next = 0;
};

class MediaTypeEnumerator final : public SingleComObject<IEnumMediaTypes> {
public:
    explicit MediaTypeEnumerator(std::vector<AM_MEDIA_TYPE> types) : m_types(std::move(types)) {}
    HRESULT Next(uint32_t count, std::vector<AM_MEDIA_TYPE>& types) override {
        uint32_t fetched = 0;
        while (fetched < count && m_next < m_types.size()) {
            types.push_back(m_types[m_next++]);
            ++fetched;
        }
        return fetched == count ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    std::vector<AM_MEDIA_TYPE> m_types;
    size_t m_next = 0;
};

}  // namespace

ComPtr<IEnumPins> CreatePinEnumerator(std::vector<ComPtr<IPin>> pins) {
    return MakeComObject<PinEnumerator>(std::move(pins));
}

ComPtr<IEnumMediaTypes> CreateMediaTypeEnumerator(std::vector<AM_MEDIA_TYPE> types) {
    return MakeComObject<MediaTypeEnumerator>(std::move(types));
}

}  // namespace platform::gst
