// GStreamer is set up before any test: with a registry of its own in a scratch folder and no
// plugin folders to scan, so a run neither reads nor writes the user's registry and starts fast.
// The filter is loaded straight from its file, as the program does.
//
// Tests of the suite InChild only run in a child process that a test starts with an environment
// of its own (VISTREL_EFFECT_TEST_CHILD set): they need a registry that has never seen the filter.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "EffectTestSupport.h"

int main(int argc, char** argv) {
    const bool child = g_getenv("VISTREL_EFFECT_TEST_CHILD") != nullptr;
    effecttest::ScratchDir scratch;
    if (!child) {
        g_setenv("GST_REGISTRY", (scratch.path() / "registry.bin").c_str(), TRUE);
        g_setenv("GST_PLUGIN_SYSTEM_PATH", "", TRUE);
        g_unsetenv("GST_PLUGIN_PATH");
    }
    gst_init(&argc, &argv);
    testing::InitGoogleTest(&argc, argv);

    std::string filter = testing::GTEST_FLAG(filter);
    if (child) {
        filter = "InChild.*";
    } else {
        filter += filter.find('-') == std::string::npos ? "-InChild.*" : ":InChild.*";
    }
    testing::GTEST_FLAG(filter) = filter;

    if (!child) {
        GError* error = nullptr;
        GstPlugin* plugin = gst_plugin_load_file(VISTREL_VIDEOEFFECT_PLUGIN, &error);
        if (!plugin) {
            std::fprintf(stderr, "cannot load %s: %s\n", VISTREL_VIDEOEFFECT_PLUGIN, error ? error->message : "?");
            return 1;
        }
        gst_object_unref(plugin);
    }
    const int result = RUN_ALL_TESTS();
    gst_deinit();
    return result;
}
