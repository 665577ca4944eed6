#include "LinuxPlatform.h"

#include <gtk/gtk.h>

#include <cstdio>

#include "GtkUiHost.h"
#include "PosixFiles.h"
#include "PosixProcess.h"
#include "SteadyClock.h"

namespace platform {
namespace {

class LinuxPlatform final : public IPlatform {
public:
    IUiHost& Ui() override { return m_ui; }
    IClock& Clock() override { return m_clock; }
    IFileSystem& Files() override { return m_files; }
    IProcess& Processes() override { return m_processes; }

private:
    GtkUiHost m_ui;
    SteadyClock m_clock;
    PosixFiles m_files;
    PosixProcess m_processes;
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
