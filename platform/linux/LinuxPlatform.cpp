#include "LinuxPlatform.h"

#include <gtk/gtk.h>

#include <cstdio>

#include "DBusLink.h"
#include "GtkUiHost.h"
#include "GstMedia.h"
#include "KeyFileRegistry.h"
#include "LinuxInstance.h"
#include "LinuxPower.h"
#include "LinuxRecordings.h"
#include "LinuxSession.h"
#include "LinuxShell.h"
#include "LinuxSound.h"
#include "LinuxSystemInfo.h"
#include "PosixFiles.h"
#include "PosixProcess.h"
#include "LinuxVolumes.h"
#include "SteadyClock.h"

namespace platform {
namespace {

class LinuxPlatform final : public IPlatform {
public:
    IUiHost& Ui() override { return m_ui; }
    IClock& Clock() override { return m_clock; }
    IFileSystem& Files() override { return m_files; }
    IProcess& Processes() override { return m_processes; }
    ISound& Sound() override { return m_sound; }
    IImageEncoder& ImageEncoder() override { return m_imageEncoder; }
    IPower& Power() override { return m_power; }
    ISession& Session() override { return m_session; }
    ISystemInfo& SystemInfo() override { return m_systemInfo; }
    IInstance& Instance() override { return m_instance; }
    IMedia& Media() override { return m_media; }
    IRegistry& Registry() override { return m_registry; }
    IShell& Shell() override { return m_shell; }
    IVolumes& Volumes() override { return m_volumes; }
    IRecordings& Recordings() override { return m_recordings; }

private:
    GtkUiHost m_ui;
    SteadyClock m_clock;
    PosixFiles m_files;
    PosixProcess m_processes;
    // The buses connect on first use, so a machine without them starts as fast.
    DBusLink m_systemBus{BusKind::System};
    DBusLink m_sessionBus{BusKind::Session};
    LinuxSound m_sound;
    TurboJpegEncoder m_imageEncoder;
    LinuxPower m_power{m_systemBus, m_sessionBus};
    LinuxSession m_session{m_systemBus, [this] { m_processes.ExitProcess(0); }};
    LinuxSystemInfo m_systemInfo{&m_systemBus};
    LinuxInstance m_instance;
    KeyFileRegistry m_registry;
    LinuxShell m_shell;
    LinuxVolumes m_volumes;
    recovery::LinuxRecordings m_recordings;
    gst::GstMedia m_media{&m_ui};
};

}  // namespace

std::unique_ptr<IPlatform> CreateLinuxPlatform(int* argc, char*** argv) {
    if (!gtk_init_check(argc, argv)) {
        std::fputs("vistrel: cannot open display\n", stderr);
        return nullptr;
    }
    return std::make_unique<LinuxPlatform>();
}

}  // namespace platform
