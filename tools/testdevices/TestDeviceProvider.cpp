#include "TestDeviceProvider.h"

#include <gio/gio.h>
#include <gst/gst.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "GRefPtr.h"
#include "TestDevice.h"
#include "TestDeviceEntry.h"

namespace vistrel::testdevices {
namespace {

struct PluggedDevice {
    GRefPtr<GstDevice> device;
    TestDeviceEntry entry;
};

// What the provider keeps while started.
struct ProviderState {
    std::string folder;
    GRefPtr<GFileMonitor> monitor;
    gulong changedHandler = 0;
    std::map<std::string, PluggedDevice> plugged;  // by file path
    // Contents of refused files already warned about, so a file is reported once, not at each
    // event it raises.
    std::map<std::string, std::string> refused;
};

bool PatternExists(const char* pattern) {
    static GEnumClass* patterns = [] {
        auto probe = AdoptGRef(gst_element_factory_make("videotestsrc", nullptr));
        if (!probe) return static_cast<GEnumClass*>(nullptr);
        GParamSpec* entry = g_object_class_find_property(G_OBJECT_GET_CLASS(probe.get()), "pattern");
        return static_cast<GEnumClass*>(g_type_class_ref(entry->value_type));  // kept for the process
    }();
    return patterns && g_enum_get_value_by_nick(patterns, pattern);
}

std::string FolderFromEnvironment() {
    const char* folder = g_getenv(kFolderVariable);
    return folder ? folder : "";
}

std::string BaseName(const std::string& path) {
    GCharPtr base(g_path_get_basename(path.c_str()));
    return base.get();
}

// Reads and parses one device file. Nothing for a file that is not a device, is gone, or is
// refused; a refusal is reported on stderr when `report` is set (once per contents).
std::optional<TestDeviceEntry> ReadDeviceFile(ProviderState& state, const std::string& path, bool report) {
    std::string name = BaseName(path);
    if (name.empty() || name.front() == '.' || !KindOfFileName(name)) return std::nullopt;
    GCharPtr data;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), OutPtr(data), &length, nullptr)) return std::nullopt;
    std::string contents(data.get(), length);
    ParseResult result = ParseTestDevice(name, contents, PatternExists);
    if (auto* entry = std::get_if<TestDeviceEntry>(&result)) {
        state.refused.erase(path);
        return *entry;
    }
    if (report) {
        auto known = state.refused.find(path);
        if (known == state.refused.end() || known->second != contents) {
            std::fprintf(stderr, "Vistrel test devices: %s: %s; the device is skipped.\n", path.c_str(),
                         std::get<std::string>(result).c_str());
            std::fflush(stderr);
            state.refused[path] = contents;
        }
    }
    return std::nullopt;
}

std::vector<std::string> DeviceFilesIn(const std::string& folder) {
    std::vector<std::string> paths;
    GUniquePtr<GDir> dir(folder.empty() ? nullptr : g_dir_open(folder.c_str(), 0, nullptr));
    if (!dir) return paths;
    while (const char* name = g_dir_read_name(dir.get())) {
        GCharPtr path(g_build_filename(folder.c_str(), name, nullptr));
        paths.emplace_back(path.get());
    }
    // Directory order is arbitrary; the name order is what a user who writes the files expects.
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace
}  // namespace vistrel::testdevices

using vistrel::testdevices::ProviderState;

struct VistrelTestDeviceProvider {
    GstDeviceProvider parent;
    ProviderState* state;
};

struct VistrelTestDeviceProviderClass {
    GstDeviceProviderClass parent_class;
};

G_DEFINE_TYPE(VistrelTestDeviceProvider, vistrel_test_device_provider, GST_TYPE_DEVICE_PROVIDER)

namespace vistrel::testdevices {
namespace {

VistrelTestDeviceProvider* Self(GstDeviceProvider* provider) {
    return reinterpret_cast<VistrelTestDeviceProvider*>(provider);
}

void Unplug(GstDeviceProvider* provider, const std::string& path) {
    ProviderState& state = *Self(provider)->state;
    auto it = state.plugged.find(path);
    if (it == state.plugged.end()) return;
    GRefPtr<GstDevice> device = std::move(it->second.device);
    state.plugged.erase(it);
    gst_device_provider_device_remove(provider, device.get());
}

// Brings the device of one file up to date: plugged when it appeared, replaced when it changed,
// unplugged when it became unreadable or refused.
void Refresh(GstDeviceProvider* provider, const std::string& path, bool report) {
    ProviderState& state = *Self(provider)->state;
    std::optional<TestDeviceEntry> entry = ReadDeviceFile(state, path, report);
    auto it = state.plugged.find(path);
    if (it != state.plugged.end()) {
        if (entry && *entry == it->second.entry) return;
        if (!entry && !report) return;  // possibly half written: the completion event decides
        Unplug(provider, path);
    }
    if (!entry) return;
    auto device = AdoptGRef(NewTestDevice(*entry, path));
    state.plugged[path] = PluggedDevice{device, *entry};
    gst_device_provider_device_add(provider, device.get());  // the provider takes a reference of its own
}

void OnFolderChanged(GFileMonitor*, GFile* file, GFile* other, GFileMonitorEvent event, gpointer data) {
    auto* provider = static_cast<GstDeviceProvider*>(data);
    GCharPtr path(g_file_get_path(file));
    if (!path) return;
    switch (event) {
        case G_FILE_MONITOR_EVENT_CREATED:
            // Often still empty: plug only what already reads as complete.
            Refresh(provider, path.get(), false);
            break;
        case G_FILE_MONITOR_EVENT_CHANGES_DONE_HINT:
        case G_FILE_MONITOR_EVENT_MOVED_IN:
            Refresh(provider, path.get(), true);
            break;
        case G_FILE_MONITOR_EVENT_DELETED:
        case G_FILE_MONITOR_EVENT_MOVED_OUT:
            Unplug(provider, path.get());
            Self(provider)->state->refused.erase(path.get());
            break;
        case G_FILE_MONITOR_EVENT_RENAMED: {
            Unplug(provider, path.get());
            Self(provider)->state->refused.erase(path.get());
            GCharPtr newPath(other ? g_file_get_path(other) : nullptr);
            if (newPath) Refresh(provider, newPath.get(), true);
            break;
        }
        default:
            break;
    }
}

// The probe vfunc hands its caller the list and a floating reference of each device in it.
GList* Probe(GstDeviceProvider* provider) {
    ProviderState& state = *Self(provider)->state;
    std::string folder = state.monitor ? state.folder : FolderFromEnvironment();
    GList* devices = nullptr;
    for (const std::string& path : DeviceFilesIn(folder))
        if (auto entry = ReadDeviceFile(state, path, true)) devices = g_list_append(devices, NewTestDevice(*entry, path));
    return devices;
}

gboolean Start(GstDeviceProvider* provider) {
    ProviderState& state = *Self(provider)->state;
    state.folder = FolderFromEnvironment();
    if (state.folder.empty()) return FALSE;
    auto folder = AdoptGRef(g_file_new_for_path(state.folder.c_str()));
    state.monitor = AdoptGRef(g_file_monitor_directory(folder.get(), G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr));
    if (state.monitor)
        state.changedHandler =
            g_signal_connect(state.monitor.get(), "changed", G_CALLBACK(OnFolderChanged), provider);
    for (const std::string& path : DeviceFilesIn(state.folder)) Refresh(provider, path, true);
    return TRUE;
}

void Stop(GstDeviceProvider* provider) {
    ProviderState& state = *Self(provider)->state;
    if (state.monitor) {
        g_signal_handler_disconnect(state.monitor.get(), state.changedHandler);
        g_file_monitor_cancel(state.monitor.get());
        state.monitor.reset();
    }
    // The base class drops its own list of devices after this.
    state.plugged.clear();
    state.refused.clear();
}

gboolean PluginInit(GstPlugin* plugin) {
    return gst_device_provider_register(plugin, "vistreltestdeviceprovider", GST_RANK_PRIMARY,
                                        vistrel_test_device_provider_get_type());
}

}  // namespace

bool RegisterTestDeviceProvider() {
    static const bool registered = gst_plugin_register_static(
        GST_VERSION_MAJOR, GST_VERSION_MINOR, "vistreltestdevices", "Vistrel's stand-in cameras and microphones",
        PluginInit, "1.0", "unknown", "vistrel", "Vistrel", "https://example.invalid/vistrel");
    return registered;
}

}  // namespace vistrel::testdevices

static void vistrel_test_device_provider_finalize(GObject* object) {
    auto* self = reinterpret_cast<VistrelTestDeviceProvider*>(object);
    delete self->state;
    self->state = nullptr;
    G_OBJECT_CLASS(vistrel_test_device_provider_parent_class)->finalize(object);
}

static void vistrel_test_device_provider_class_init(VistrelTestDeviceProviderClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = vistrel_test_device_provider_finalize;
    GstDeviceProviderClass* provider = GST_DEVICE_PROVIDER_CLASS(klass);
    provider->probe = vistrel::testdevices::Probe;
    provider->start = vistrel::testdevices::Start;
    provider->stop = vistrel::testdevices::Stop;
    gst_device_provider_class_set_static_metadata(provider, "Vistrel test devices", "Source/Video/Audio",
                                                  "Cameras and microphones declared by files in a folder",
                                                  "Vistrel");
}

static void vistrel_test_device_provider_init(VistrelTestDeviceProvider* self) {
    self->state = new ProviderState();
}
