// Reference-counted interfaces and the smart pointer that owns one reference.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "platform/Guid.h"
#include "platform/Result.h"

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The identifier an interface answers to, declared once beside the interface with
// DECLARE_INTERFACE_IID. Queries take it from the type they fill, so a pointer of one interface
// can never be filled through another's identifier, and a type that declares none cannot be
// asked for at all (the primary template has no definition).
template <class Interface>
struct InterfaceIid;

#define DECLARE_INTERFACE_IID(Interface, iid)                      \
    template <>                                                    \
    struct InterfaceIid<Interface> {                               \
        static constexpr const IID& value = iid;                   \
    }

template <class Interface>
inline constexpr const IID& IidOf = InterfaceIid<Interface>::value;

class IUnknown {
public:
    [[nodiscard]] virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};
DECLARE_INTERFACE_IID(IUnknown, IID_IUnknown);

// Owns one reference. Taking a reference (Retain) and adopting one (Adopt) are separate,
// explicit operations; there is no implicit conversion to T* and no operator&.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : m_p(other.m_p) { if (m_p) m_p->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <class U>
    ComPtr(ComPtr<U>&& other) noexcept : m_p(other.Detach()) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept { std::swap(m_p, other.m_p); return *this; }

    [[nodiscard]] static ComPtr Adopt(T* p) { ComPtr c; c.m_p = p; return c; }
    [[nodiscard]] static ComPtr Retain(T* p) { if (p) p->AddRef(); return Adopt(p); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    void Reset() { if (T* p = std::exchange(m_p, nullptr)) p->Release(); }
    [[nodiscard]] T* Detach() { return std::exchange(m_p, nullptr); }

    // For out-parameters: releases what is held and hands out the slot to fill.
    T** ReleaseAndGetAddressOf() { Reset(); return &m_p; }

    // Asks the object for interface U under U's own identifier.
    template <class U>
    [[nodiscard]] HRESULT As(ComPtr<U>& out) const {
        if (!m_p) return E_POINTER;
        void* pv = nullptr;
        HRESULT hr = m_p->QueryInterface(IidOf<U>, &pv);
        out = ComPtr<U>::Adopt(SUCCEEDED(hr) ? static_cast<U*>(pv) : nullptr);
        return hr;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }

private:
    T* m_p = nullptr;
};

// A plain reference count for implementations of IUnknown-derived interfaces.
class RefCount {
public:
    uint32_t Add() { return m_count.fetch_add(1, std::memory_order_relaxed) + 1; }
    // Returns the remaining count; the owner deletes itself at zero.
    uint32_t Drop() { return m_count.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<uint32_t> m_count{1};
};
