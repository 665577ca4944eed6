// Reference counting and interface lookup for the sim's media objects, so each class only says
// which interfaces it answers.
#pragma once

#include <utility>

#include "platform/Unknown.h"

namespace platform::sim {

template <class... Interfaces>
class SimComObject : public Interfaces... {
public:
    SimComObject(const SimComObject&) = delete;
    SimComObject& operator=(const SimComObject&) = delete;

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = FindInterface(iid);
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override {
        const uint32_t left = m_refs.Drop();
        if (left == 0) delete this;
        return left;
    }

protected:
    SimComObject() = default;
    virtual ~SimComObject() = default;
    // The pointer to hand out for iid (IID_IUnknown included), or nullptr.
    virtual void* FindInterface(REFIID iid) = 0;

private:
    RefCount m_refs;
};

// A new object owned by the returned pointer (objects start with one reference).
template <class T, class... Args>
[[nodiscard]] ComPtr<T> SimMake(Args&&... args) {
    return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace platform::sim
