// The parts that need an X display (ctest runs this binary under xvfb-run): display changes and
// the X server's screen saver as the fallback without a screen-saver service.
// gtest and the project's headers come before X11's, whose macros (None, Bool) break them.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "DBusLink.h"
#include "LinuxPower.h"
#include "LinuxSession.h"
#include "SystemTestSupport.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace {

using namespace std::chrono_literals;
using namespace platform;
using systemtest::IsolatedTest;
using systemtest::PumpUntil;

Display* XDisplayOrNull() {
    GdkDisplay* display = gdk_display_get_default();
    return display && GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display) : nullptr;
}

class DisplayTest : public IsolatedTest {
protected:
    void SetUp() override {
        if (!XDisplayOrNull()) GTEST_SKIP() << "needs an X display (ctest runs this under xvfb-run)";
    }
};

TEST_F(DisplayTest, ScreenChangesBecomeOneDisplayChangeWithTheScreenSize) {
    DBusLink systemBus(BusKind::System);
    LinuxSession session(systemBus, {});
    std::vector<DisplayChange> seen;
    session.SetDisplayChangeHandler([&](const DisplayChange& d) { seen.push_back(d); });
    // A mode switch raises both signals; the program must see one display change for it.
    g_signal_emit_by_name(gdk_screen_get_default(), "monitors-changed");
    g_signal_emit_by_name(gdk_screen_get_default(), "size-changed");
    ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }, 2s));
    systemtest::PumpFor(50ms);
    ASSERT_EQ(seen.size(), 1u);
    Display* x = XDisplayOrNull();
    EXPECT_EQ(seen[0].width, DisplayWidth(x, DefaultScreen(x)));
    EXPECT_EQ(seen[0].height, DisplayHeight(x, DefaultScreen(x)));
    const int depth = DefaultDepth(x, DefaultScreen(x));
    EXPECT_EQ(seen[0].bitsPerPixel, depth == 24 ? 32 : depth);

    session.SetDisplayChangeHandler({});
    g_signal_emit_by_name(gdk_screen_get_default(), "size-changed");
    systemtest::PumpFor(50ms);
    EXPECT_EQ(seen.size(), 1u) << "a cleared handler hears nothing";
}

TEST_F(DisplayTest, WithoutAScreenSaverServiceTheXServerScreenSaverIsSuspended) {
    DBusLink systemBus(BusKind::System);
    DBusLink sessionBus(BusKind::Session);
    LinuxPower power(systemBus, sessionBus);
    ASSERT_TRUE(power.SetScreenSaverActive(false, true));
    EXPECT_FALSE(power.IsScreenSaverActive());
    EXPECT_TRUE(power.SetScreenSaverActive(true, true));
    EXPECT_TRUE(power.IsScreenSaverActive());
}

}  // namespace
