// The GTK tests drive real windows on a display (ctest runs them under xvfb-run).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The pointer and keys are faked through XTest, which only X11 has.
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(&argc, &argv)) {
        std::fputs("vistrel_gtk_tests: cannot open an X display; run under xvfb-run "
                   "(ctest -L gtk does)\n", stderr);
        return 1;
    }
    return RUN_ALL_TESTS();
}
