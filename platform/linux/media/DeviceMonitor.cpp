#include "DeviceMonitor.h"

#include <map>

#include "DeviceList.h"
#include "TestDeviceProvider.h"

namespace platform::gst {
namespace {

GUID InterfaceClassOf(const DeviceInfo& info) {
    if (info.kind == DeviceKind::Microphone) return CLSID_AudioInputDeviceCategory;
    return info.captureClass ? AM_KSCATEGORY_CAPTURE : CLSID_VideoInputDeviceCategory;
}

}  // namespace

struct DeviceMonitor::Impl {
    struct Registration {
        GUID interfaceClass;
        std::function<void(const DeviceChange&)> handler;
    };

    GRefPtr<GstDeviceMonitor> monitor;
    GRefPtr<GSource> watch;
    bool started = false;
    DeviceList devices;
    std::map<uint32_t, Registration> registrations;
    uint32_t nextRegistration = 1;

    void Apply(GstMessage* message, bool notify) {
        GRefPtr<GstDevice> device;
        DeviceInfo info;
        DeviceChange change;
        bool changed = false;
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_DEVICE_ADDED) {
            gst_message_parse_device_added(message, OutPtr(device));
            changed = devices.Add(device.get(), &info);
            change.kind = DeviceChange::Kind::Arrival;
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_DEVICE_REMOVED) {
            gst_message_parse_device_removed(message, OutPtr(device));
            changed = devices.Remove(device.get(), &info);
            change.kind = DeviceChange::Kind::RemoveComplete;
        }
        if (!changed || !notify) return;
        change.interfaceClass = InterfaceClassOf(info);
        change.name = info.name;
        // Handlers may register, unregister or run a nested main loop: call a copy.
        std::vector<std::function<void(const DeviceChange&)>> handlers;
        for (const auto& [id, registration] : registrations)
            if (registration.interfaceClass == change.interfaceClass) handlers.push_back(registration.handler);
        for (const auto& handler : handlers) handler(change);
    }

    static gboolean OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
        static_cast<Impl*>(data)->Apply(message, true);
        return G_SOURCE_CONTINUE;
    }
};

DeviceMonitor::DeviceMonitor() : m_impl(std::make_unique<Impl>()) {}

DeviceMonitor::~DeviceMonitor() {
    if (m_impl->watch) g_source_destroy(m_impl->watch.get());
    if (m_impl->monitor) gst_device_monitor_stop(m_impl->monitor.get());
}

void DeviceMonitor::Start() {
    Impl& impl = *m_impl;
    if (impl.started) return;
    impl.started = true;
    gst_init(nullptr, nullptr);
    if (g_getenv(vistrel::testdevices::kFolderVariable)) vistrel::testdevices::RegisterTestDeviceProvider();

    impl.monitor = GRefPtr<GstDeviceMonitor>::Adopt(gst_device_monitor_new());
    gst_device_monitor_add_filter(impl.monitor.get(), "Video/Source", nullptr);
    gst_device_monitor_add_filter(impl.monitor.get(), "Audio/Source", nullptr);
    if (!gst_device_monitor_start(impl.monitor.get())) return;  // no provider: no devices, ever

    // Providers announce the devices present at start on the bus, in the order they found
    // them; take those first so that order is kept, then whatever only the listing has.
    auto bus = AdoptGRef(gst_device_monitor_get_bus(impl.monitor.get()));
    const auto kinds = GstMessageType(GST_MESSAGE_DEVICE_ADDED | GST_MESSAGE_DEVICE_REMOVED);
    while (auto message = AdoptGRef(gst_bus_pop_filtered(bus.get(), kinds))) impl.Apply(message.get(), false);
    GstObjectListPtr present(gst_device_monitor_get_devices(impl.monitor.get()));
    for (GList* l = present.get(); l; l = l->next) impl.devices.Add(GST_DEVICE(l->data));

    // On the default context, which the UI thread runs, whatever thread called Start.
    impl.watch = AdoptGRef(gst_bus_create_watch(bus.get()));
    g_source_set_callback(impl.watch.get(), G_SOURCE_FUNC(&Impl::OnBusMessage), &impl, nullptr);
    g_source_attach(impl.watch.get(), nullptr);
}

std::vector<DeviceInfo> DeviceMonitor::Devices(DeviceKind kind) {
    Start();
    return m_impl->devices.Of(kind);
}

uint32_t DeviceMonitor::RegisterDeviceNotification(const GUID& interfaceClass,
                                                   std::function<void(const DeviceChange&)> handler) {
    Start();
    uint32_t id = m_impl->nextRegistration++;
    m_impl->registrations[id] = Impl::Registration{interfaceClass, std::move(handler)};
    return id;
}

void DeviceMonitor::UnregisterDeviceNotification(uint32_t registration) {
    m_impl->registrations.erase(registration);
}

}  // namespace platform::gst
