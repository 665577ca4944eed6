// Owning pointers for GLib objects. Taking a new reference and adopting one already owned are
// two explicit operations, so no reference is ever dropped or leaked by accident.
#pragma once

#include <glib-object.h>

#include <memory>
#include <utility>

namespace platform {

template <typename T>
class GObjectPtr {
public:
    GObjectPtr() = default;
    GObjectPtr(const GObjectPtr&) = delete;
    GObjectPtr& operator=(const GObjectPtr&) = delete;
    GObjectPtr(GObjectPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.m_object, nullptr));
        return *this;
    }
    ~GObjectPtr() { reset(); }

    // Takes over a reference the caller owns; a floating reference is sunk first.
    static GObjectPtr Adopt(T* object) {
        GObjectPtr p;
        if (object && g_object_is_floating(object)) g_object_ref_sink(object);
        p.m_object = object;
        return p;
    }
    // Adds a reference of its own.
    static GObjectPtr Ref(T* object) {
        GObjectPtr p;
        if (object) p.m_object = static_cast<T*>(g_object_ref_sink(object));
        return p;
    }

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset(T* object = nullptr) {
        if (m_object) g_object_unref(m_object);
        m_object = object;
    }

private:
    T* m_object = nullptr;
};

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
// A string GLib allocated and the caller must free.
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

}  // namespace platform
