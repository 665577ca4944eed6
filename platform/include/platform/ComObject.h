// Reference counting and interface lookup for objects behind the media interfaces, so each class
// only says which interfaces it answers.
#pragma once

#include <utility>

#include "platform/Unknown.h"

namespace platform {

template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

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
    ComObject() = default;
    virtual ~ComObject() = default;
    // The pointer to hand out for iid (IID_IUnknown included), or nullptr.
    virtual void* FindInterface(REFIID iid) = 0;

private:
    RefCount m_refs;
};

template <class Interface>
concept HasInterfaceIid = requires { InterfaceIid<Interface>::value; };

// An object of one interface: it answers IID_IUnknown and the interface's own identifier;
// enumerators, which declare none because callers never ask for them by name, answer
// IID_IUnknown alone.
template <class Interface>
class SingleComObject : public ComObject<Interface> {
protected:
    void* FindInterface(REFIID iid) override {
        if (iid == IID_IUnknown) return static_cast<Interface*>(this);
        if constexpr (HasInterfaceIid<Interface>) {
            if (iid == IidOf<Interface>) return static_cast<Interface*>(this);
        }
        return nullptr;
    }
};

// A new object owned by the returned pointer (objects start with one reference).
template <class T, class... Args>
[[nodiscard]] ComPtr<T> MakeComObject(Args&&... args) {
    return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace platform
