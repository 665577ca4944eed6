// Owners for what GLib and GStreamer hand out, so that no reference is dropped or leaked by
// accident and no caller writes an unref of its own.
//
// GRefPtr<T> holds one reference of a reference-counted object: GObjects (the default),
// GstObjects (elements, pads, bins, buses, devices, …), GStreamer mini objects (caps, buffers,
// events, messages, queries, samples) and the few counted GLib types used here. Adopting a
// reference the caller already owns and taking a new one are two different calls (Adopt, Ref);
// a floating reference is sunk by either, so a new element held in a GRefPtr is never floating.
// Copies take a reference of their own.
//
// GUniquePtr<T> is a std::unique_ptr with the one right free function for types without a count
// (GError, g_malloc'd strings, string vectors, GKeyFile, GstStructure, GstIterator, …).
//
// OutPtr(holder) is the T** slot of a function that hands an owned pointer back through its
// arguments; the holder adopts whatever was written there when the call's full expression ends.
//
// Without GStreamer's headers on the include path (the key-file fuzz target builds with GLib
// only) the GStreamer part is left out; it is the same for every file that can name those types.
#pragma once

#include <glib-object.h>

#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

#if __has_include(<gst/gst.h>)
#include <gst/gst.h>
#define GREF_HAVE_GSTREAMER 1
#endif

namespace gref {

// ---- reference-counted types ----

// How a counted type is held: whether a reference can be floating, sinking (turning a floating
// reference into an owned one, or else adding one), and dropping. The default is the GObject's.
template <typename T>
struct RefTraits {
    static bool IsFloating(T* p) { return g_object_is_floating(p); }
    static void RefSink(T* p) { g_object_ref_sink(p); }
    static void Unref(T* p) { g_object_unref(p); }
};

template <>
struct RefTraits<GVariant> {
    static bool IsFloating(GVariant* p) { return g_variant_is_floating(p); }
    static void RefSink(GVariant* p) { g_variant_ref_sink(p); }
    static void Unref(GVariant* p) { g_variant_unref(p); }
};

template <>
struct RefTraits<GMainLoop> {
    static bool IsFloating(GMainLoop*) { return false; }
    static void RefSink(GMainLoop* p) { g_main_loop_ref(p); }
    static void Unref(GMainLoop* p) { g_main_loop_unref(p); }
};

template <>
struct RefTraits<GSource> {
    static bool IsFloating(GSource*) { return false; }
    static void RefSink(GSource* p) { g_source_ref(p); }
    static void Unref(GSource* p) { g_source_unref(p); }
};

#ifdef GREF_HAVE_GSTREAMER
// GstObjects go through gst_object_ref/unref, which the leak tracer follows. One line for each
// kind held here; another GstObject would fall back to the GObject calls, which work the same
// but are not traced.
template <typename T>
struct GstObjectRefTraits {
    static bool IsFloating(T* p) { return g_object_is_floating(p); }
    static void RefSink(T* p) { gst_object_ref_sink(p); }
    static void Unref(T* p) { gst_object_unref(p); }
};
#define GREF_GST_OBJECT(Type) \
    template <>               \
    struct RefTraits<Type> : GstObjectRefTraits<Type> {}
GREF_GST_OBJECT(GstObject);
GREF_GST_OBJECT(GstElement);
GREF_GST_OBJECT(GstPad);
GREF_GST_OBJECT(GstBus);
GREF_GST_OBJECT(GstClock);
GREF_GST_OBJECT(GstDevice);
GREF_GST_OBJECT(GstDeviceMonitor);
GREF_GST_OBJECT(GstElementFactory);
GREF_GST_OBJECT(GstPlugin);
#undef GREF_GST_OBJECT

// Mini objects are never floating. Every public one starts with its GstMiniObject header;
// GstSample keeps its layout private.
template <typename T>
concept MiniObject = std::same_as<T, GstSample> || requires(T t) {
    { t.mini_object } -> std::same_as<GstMiniObject&>;
};
template <MiniObject T>
struct RefTraits<T> {
    static bool IsFloating(T*) { return false; }
    static void RefSink(T* p) { gst_mini_object_ref(GST_MINI_OBJECT_CAST(p)); }
    static void Unref(T* p) { gst_mini_object_unref(GST_MINI_OBJECT_CAST(p)); }
};
#endif

template <typename T>
class GRefPtr {
public:
    using pointer = T*;

    GRefPtr() = default;
    GRefPtr(std::nullptr_t) {}
    GRefPtr(const GRefPtr& other) : m_ptr(other.m_ptr) {
        if (m_ptr) RefTraits<T>::RefSink(m_ptr);
    }
    GRefPtr(GRefPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    GRefPtr& operator=(GRefPtr other) noexcept {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }
    ~GRefPtr() { reset(); }

    // Takes over a reference the caller owns (a floating one is sunk: it becomes that reference).
    [[nodiscard]] static GRefPtr Adopt(T* p) {
        if (p && RefTraits<T>::IsFloating(p)) RefTraits<T>::RefSink(p);
        return GRefPtr(p);
    }
    // Takes a reference of its own; a floating reference is sunk and becomes it.
    [[nodiscard]] static GRefPtr Ref(T* p) {
        if (p) RefTraits<T>::RefSink(p);
        return GRefPtr(p);
    }

    T* get() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    // Hands the reference on to a callee that takes ownership.
    [[nodiscard]] T* release() { return std::exchange(m_ptr, nullptr); }
    void reset() {
        if (T* p = std::exchange(m_ptr, nullptr)) RefTraits<T>::Unref(p);
    }

    friend bool operator==(const GRefPtr& a, const GRefPtr& b) { return a.m_ptr == b.m_ptr; }
    friend bool operator==(const GRefPtr& a, std::nullptr_t) { return !a.m_ptr; }

private:
    explicit GRefPtr(T* adopted) : m_ptr(adopted) {}

    T* m_ptr = nullptr;
};

// The same two operations with the type read off the pointer.
template <typename T>
[[nodiscard]] GRefPtr<T> AdoptGRef(T* p) {
    return GRefPtr<T>::Adopt(p);
}
template <typename T>
[[nodiscard]] GRefPtr<T> RefGRef(T* p) {
    return GRefPtr<T>::Ref(p);
}

// ---- types without a count ----

template <typename T>
struct GDeleter;
template <>
struct GDeleter<char> {
    void operator()(char* p) const { g_free(p); }
};
template <>
struct GDeleter<char*> {
    void operator()(char** p) const { g_strfreev(p); }
};
template <>
struct GDeleter<GError> {
    void operator()(GError* p) const { g_error_free(p); }
};
template <>
struct GDeleter<GKeyFile> {
    void operator()(GKeyFile* p) const { g_key_file_free(p); }
};
template <>
struct GDeleter<GDir> {
    void operator()(GDir* p) const { g_dir_close(p); }
};
#ifdef GREF_HAVE_GSTREAMER
template <>
struct GDeleter<GstStructure> {
    void operator()(GstStructure* p) const { gst_structure_free(p); }
};
template <>
struct GDeleter<GstIterator> {
    void operator()(GstIterator* p) const { gst_iterator_free(p); }
};
#endif

template <typename T>
using GUniquePtr = std::unique_ptr<T, GDeleter<T>>;
using GCharPtr = GUniquePtr<char>;    // g_free
using GStrvPtr = GUniquePtr<char*>;   // g_strfreev
using GErrorPtr = GUniquePtr<GError>;

// A GList whose items are borrowed (GTK's "transfer container").
struct GListDeleter {
    void operator()(GList* list) const { g_list_free(list); }
};
using GListPtr = std::unique_ptr<GList, GListDeleter>;

#ifdef GREF_HAVE_GSTREAMER
// A GList that owns one reference of each GstObject in it (registry feature lists, the devices
// a monitor or a provider hands out).
struct GstObjectListDeleter {
    void operator()(GList* list) const { g_list_free_full(list, gst_object_unref); }
};
using GstObjectListPtr = std::unique_ptr<GList, GstObjectListDeleter>;
#endif

// ---- out-parameters ----

template <typename Holder>
class OutSlot {
public:
    using Pointer = typename Holder::pointer;

    explicit OutSlot(Holder& holder) : m_holder(holder) { holder.reset(); }
    OutSlot(const OutSlot&) = delete;
    OutSlot& operator=(const OutSlot&) = delete;
    ~OutSlot() {
        if constexpr (requires { Holder::Adopt(m_value); })
            m_holder = Holder::Adopt(m_value);
        else
            m_holder.reset(m_value);
    }

    operator Pointer*() { return &m_value; }

private:
    Holder& m_holder;
    Pointer m_value = nullptr;
};

// The slot for one call's out-parameter: the holder is emptied first (GError** must point to
// nullptr) and adopts what the call wrote. Not for variadic calls such as g_object_get.
template <typename Holder>
[[nodiscard]] OutSlot<Holder> OutPtr(Holder& holder) {
    return OutSlot<Holder>(holder);
}

#ifdef GREF_HAVE_GSTREAMER
// A bin owns its children: gst_bin_add sinks a floating reference or takes one of its own, and
// the caller's ends here. The element, borrowed from the bin, or nullptr when the bin refused it.
inline GstElement* AddToBin(GstElement* bin, GRefPtr<GstElement> element) {
    return element && gst_bin_add(GST_BIN(bin), element.get()) ? element.get() : nullptr;
}
#endif

}  // namespace gref

using gref::AdoptGRef;
using gref::GCharPtr;
using gref::GErrorPtr;
using gref::GListPtr;
using gref::GRefPtr;
using gref::GStrvPtr;
using gref::GUniquePtr;
using gref::OutPtr;
using gref::RefGRef;
#ifdef GREF_HAVE_GSTREAMER
using gref::AddToBin;
using gref::GstObjectListPtr;
#endif
