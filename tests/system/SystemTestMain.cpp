// The system services of the real backend. ctest runs this under xvfb-run so the X11 parts are
// covered too; tests that need a display skip without one. The same binary is the second
// process some tests need: run with a helper mode as its first argument it does that instead.
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "DBusLink.h"
#include "GtkMessageBox.h"
#include "LinuxInstance.h"
#include "LinuxSession.h"
#include "LinuxShell.h"
#include "platform/Strings.h"
#include "platform/UiHost.h"

namespace {

// A second start: tries the lock and, refused, announces itself. Prints "acquired" or
// "refused <reached 0|1> <milliseconds the announcement took>".
int SecondStart(const char* name) {
    platform::LinuxInstance instance;
    const std::wstring wide = platform::FromUtf8(name);
    if (auto lock = instance.AcquireSingleInstance(wide)) {
        std::printf("acquired\n");
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    const bool reached = instance.AnnounceToRunningInstance(wide);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf("refused %d %lld\n", reached ? 1 : 0, static_cast<long long>(ms));
    return 0;
}

// A program registered for session events, waiting to be logged off by a signal. Prints
// "ready", then "logoff <window>" for each event and "ended" when the session ends the process.
int WaitForLogoff() {
    platform::DBusLink systemBus(platform::BusKind::System);
    platform::LinuxSession session(systemBus, [] {
        std::printf("ended\n");
        std::fflush(stdout);
        std::_Exit(0);
    });
    session.SetSessionHandler([](const platform::SessionEvent& e) {
        if (e.change == platform::SessionChange::Logoff) std::printf("logoff %u\n", e.target.value);
    });
    if (!session.RegisterSessionNotification(platform::WindowHandle{5}, true)) return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    // A parent that never sends the signal must not leave this process behind.
    g_timeout_add_seconds(20, [](gpointer) -> gboolean { std::_Exit(3); }, nullptr);
    for (;;) g_main_context_iteration(nullptr, TRUE);
}

// A program with a termination handler that is asking a question when the signal comes.
// Prints "ready" as the box opens, "terminate" from the handler, then "answer <n>" and "ended"
// once the box has given way.
int BoxThenTerminate(int argc, char** argv) {
    // No accessibility bus: without a session bus GTK would look for one through the display.
    g_setenv("NO_AT_BRIDGE", "1", TRUE);
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(&argc, &argv)) return 4;
    platform::DBusLink systemBus(platform::BusKind::System);
    platform::LinuxSession session(systemBus, [] { std::_Exit(5); });
    session.SetTerminationHandler([] {
        std::printf("terminate\n");
        std::fflush(stdout);
    });
    g_idle_add(
        [](gpointer) -> gboolean {
            std::printf("ready\n");
            std::fflush(stdout);
            return G_SOURCE_REMOVE;
        },
        nullptr);
    // A box that never gives way must not leave this process behind.
    g_timeout_add_seconds(20, [](gpointer) -> gboolean { std::_Exit(3); }, nullptr);
    const int answer = platform::RunMessageBox(nullptr, L"Camera is not ready", L"Vistrel", platform::kMbOkCancel);
    std::printf("answer %d\nended\n", answer);
    return 0;
}

// Opens each path with the desktop's handler, in a process of its own so that the desktop the
// test sets up is the one GLib reads; prints one result per line.
int OpenPaths(int argc, char** argv) {
    platform::LinuxShell shell;
    for (int i = 2; i < argc; ++i) std::printf("%d\n", shell.Open(platform::FromUtf8(argv[i])));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--second-start") == 0) return SecondStart(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--wait-for-logoff") == 0) return WaitForLogoff();
    if (argc == 2 && std::strcmp(argv[1], "--box-then-terminate") == 0) return BoxThenTerminate(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--open") == 0) return OpenPaths(argc, argv);

    ::testing::InitGoogleTest(&argc, argv);
    gst_init(&argc, &argv);
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(&argc, &argv))
        std::fputs("vistrel_system_tests: no X display; the tests that need one are skipped\n", stderr);
    return RUN_ALL_TESTS();
}
