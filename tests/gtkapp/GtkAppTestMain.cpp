// The framework on the real backend: real windows on a display (ctest runs this under xvfb-run).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Pointer input is faked through XTest, which only X11 has.
    gdk_set_allowed_backends("x11");
    return RUN_ALL_TESTS();
}
