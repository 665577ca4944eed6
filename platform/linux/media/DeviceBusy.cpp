#include "DeviceBusy.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "TestDevice.h"

namespace platform::gst {
namespace {

// Paths this process has in graphs, with a count: the only process-wide record here, because
// what the process holds open is a process-wide fact.
std::mutex g_useMutex;
std::map<std::string, int>& UsedPaths() {
    static std::map<std::string, int> paths;
    return paths;
}

bool UsedHere(const std::string& path) {
    std::lock_guard lock(g_useMutex);
    return UsedPaths().count(path) > 0;
}

// Opening a V4L2 node succeeds even while another program streams from it; what fails is
// claiming its buffer queue. Asking for zero buffers claims nothing but is refused with EBUSY
// when another file handle owns the queue.
bool V4l2NodeBusy(const char* node) {
    int fd = ::open(node, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;
    v4l2_requestbuffers request;
    std::memset(&request, 0, sizeof request);
    request.count = 0;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    bool busy = ::ioctl(fd, VIDIOC_REQBUFS, &request) < 0 && errno == EBUSY;
    ::close(fd);
    return busy;
}

}  // namespace

bool DeviceIsBusy(const DeviceInfo& device, GstElement* source) {
    if (GUniquePtr<GstStructure> properties{gst_device_get_properties(device.device.get())}) {
        gboolean declared = FALSE;
        bool known = gst_structure_get_boolean(properties.get(), vistrel::testdevices::kBusyProperty, &declared);
        if (known) return declared;
    }
    // Only a source that opens the node itself can find it taken; pipewire shares its nodes.
    if (!source || g_strcmp0(G_OBJECT_TYPE_NAME(source), "GstV4l2Src") != 0) return false;
    gchar* node = nullptr;
    g_object_get(source, "device", &node, nullptr);
    GCharPtr owned(node);
    std::string path = node ? node : "";
    if (path.empty() || UsedHere(path) || UsedHere(device.path)) return false;
    return V4l2NodeBusy(path.c_str());
}

DeviceUse::DeviceUse(std::string path) : m_path(std::move(path)) {
    std::lock_guard lock(g_useMutex);
    ++UsedPaths()[m_path];
}

DeviceUse::~DeviceUse() {
    std::lock_guard lock(g_useMutex);
    auto it = UsedPaths().find(m_path);
    if (it != UsedPaths().end() && --it->second == 0) UsedPaths().erase(it);
}

}  // namespace platform::gst
