#include "PinEnumerators.h"

#include <utility>

namespace platform::gst {
namespace {

// Shared by both enumerators: reference counting and the interface table.
template <class Interface>
class EnumeratorBase : public Interface {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown) {
            AddRef();
            *object = static_cast<IUnknown*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override {
        uint32_t left = m_refs.Drop();
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~EnumeratorBase() = default;

private:
    RefCount m_refs;
};

class PinEnumerator final : public EnumeratorBase<IEnumPins> {
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

class MediaTypeEnumerator final : public EnumeratorBase<IEnumMediaTypes> {
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
    return ComPtr<IEnumPins>::Adopt(new PinEnumerator(std::move(pins)));
}

ComPtr<IEnumMediaTypes> CreateMediaTypeEnumerator(std::vector<AM_MEDIA_TYPE> types) {
    return ComPtr<IEnumMediaTypes>::Adopt(new MediaTypeEnumerator(std::move(types)));
}

}  // namespace platform::gst
