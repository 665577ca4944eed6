#include "TestDevice.h"

#include <gst/audio/audio.h>

#include "GRefPtr.h"
#include "SyncPattern.h"

struct VistrelTestDevice {
    GstDevice parent;
    vistrel::testdevices::TestDeviceEntry* entry;
};

struct VistrelTestDeviceClass {
    GstDeviceClass parent_class;
};

G_DEFINE_TYPE(VistrelTestDevice, vistrel_test_device, GST_TYPE_DEVICE)

namespace vistrel::testdevices {
namespace {

VistrelTestDevice* AsTestDevice(GstDevice* device) {
    return G_TYPE_CHECK_INSTANCE_TYPE(device, vistrel_test_device_get_type())
               ? reinterpret_cast<VistrelTestDevice*>(device)
               : nullptr;
}

// Each microphone hums its own quiet tone, so two of them can be told apart by ear.
double ToneOf(const std::string& name) {
    return 330.0 + 55.0 * double(g_str_hash(name.c_str()) % 8);
}

GstCaps* CapsOf(const TestDeviceEntry& entry) {
    GstCaps* caps = gst_caps_new_empty();
    if (entry.kind == TestDeviceKind::Microphone) {
        gst_caps_append_structure(caps, gst_structure_new("audio/x-raw", "format", G_TYPE_STRING, GST_AUDIO_NE(S16),
                                                          "layout", G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT,
                                                          44100, "channels", G_TYPE_INT, 1, nullptr));
        return caps;
    }
    for (const FrameSize& size : entry.sizes)
        gst_caps_append_structure(caps, gst_structure_new("video/x-raw", "format", G_TYPE_STRING, kCameraFormat,
                                                          "width", G_TYPE_INT, size.width, "height", G_TYPE_INT,
                                                          size.height, "framerate", GST_TYPE_FRACTION,
                                                          kCameraFramesPerSecond, 1, "pixel-aspect-ratio",
                                                          GST_TYPE_FRACTION, 1, 1, nullptr));
    return caps;
}

GstElement* CreateElement(GstDevice* device, const gchar* name) {
    const TestDeviceEntry* entry = EntryOfTestDevice(device);
    if (!entry) return nullptr;
    if (entry->kind == TestDeviceKind::Camera) {
        GstElement* source = gst_element_factory_make("videotestsrc", name);
        if (!source) return nullptr;
        g_object_set(source, "is-live", TRUE, nullptr);
        if (entry->pattern == kSyncPattern)
            AttachSyncPattern(source, entry->kind);
        else
            gst_util_set_object_arg(G_OBJECT(source), "pattern", entry->pattern.c_str());
        return source;
    }
    GstElement* source = gst_element_factory_make("audiotestsrc", name);
    if (!source) return nullptr;
    g_object_set(source, "is-live", TRUE, "freq", ToneOf(entry->name), "volume", 0.05, nullptr);
    if (entry->pattern == kSyncPattern) AttachSyncPattern(source, entry->kind);
    return source;
}

}  // namespace

GstDevice* NewTestDevice(const TestDeviceEntry& entry, const std::string& path) {
    const bool camera = entry.kind == TestDeviceKind::Camera;
    auto caps = AdoptGRef(CapsOf(entry));
    GUniquePtr<GstStructure> properties(gst_structure_new("vistrel-test-device", kPathProperty, G_TYPE_STRING, path.c_str(),
                                                 kBusyProperty, G_TYPE_BOOLEAN, gboolean(entry.busy),
                                                 kCaptureClassProperty, G_TYPE_BOOLEAN,
                                                 gboolean(camera && entry.captureClass), nullptr));
    gpointer object = g_object_new(vistrel_test_device_get_type(), "display-name", entry.name.c_str(), "device-class",
                                   camera ? "Video/Source" : "Audio/Source", "caps", caps.get(), "properties", properties.get(),
                                   nullptr);
    auto* device = static_cast<VistrelTestDevice*>(object);
    device->entry = new TestDeviceEntry(entry);
    return GST_DEVICE(device);
}

const TestDeviceEntry* EntryOfTestDevice(GstDevice* device) {
    VistrelTestDevice* self = AsTestDevice(device);
    return self ? self->entry : nullptr;
}

}  // namespace vistrel::testdevices

static void vistrel_test_device_finalize(GObject* object) {
    auto* self = reinterpret_cast<VistrelTestDevice*>(object);
    delete self->entry;
    self->entry = nullptr;
    G_OBJECT_CLASS(vistrel_test_device_parent_class)->finalize(object);
}

static void vistrel_test_device_class_init(VistrelTestDeviceClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = vistrel_test_device_finalize;
    GST_DEVICE_CLASS(klass)->create_element = vistrel::testdevices::CreateElement;
}

static void vistrel_test_device_init(VistrelTestDevice* self) {
    self->entry = nullptr;
}
