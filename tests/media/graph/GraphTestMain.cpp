// Sets up the test world before GStreamer starts: the device files, the effect plugin
// registered by the real tool into a private data folder, and a private registry.
#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "GraphTestSupport.h"
#include "GstMedia.h"
#include "GtkUiHost.h"

namespace graphtest {

Environment& Env() {
    static Environment env;
    return env;
}

namespace {

void WriteFile(const std::string& path, const char* text) {
    ASSERT_TRUE(g_file_set_contents(path.c_str(), text, -1, nullptr)) << path;
}

void RemoveTree(const std::string& path) {
    if (GDir* dir = g_dir_open(path.c_str(), 0, nullptr)) {
        while (const char* name = g_dir_read_name(dir)) RemoveTree(path + "/" + name);
        g_dir_close(dir);
        g_rmdir(path.c_str());
    } else {
        g_unlink(path.c_str());
    }
}

bool RegisterEffect() {
    const gchar* argv[] = {VISTREL_REGSVR, "-s", VISTREL_VIDEOEFFECT_PLUGIN, nullptr};
    gint status = 0;
    if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr,
                      &status, nullptr))
        return false;
    return g_spawn_check_wait_status(status, nullptr);
}

}  // namespace
}  // namespace graphtest

int main(int argc, char** argv) {
    using namespace graphtest;
    testing::InitGoogleTest(&argc, argv);
    Environment& env = Env();
    gchar* folder = g_dir_make_tmp("vistrel-graph-XXXXXX", nullptr);
    if (!folder) return 2;
    env.folder = folder;
    g_free(folder);
    const std::string devices = env.folder + "/devices";
    const std::string data = env.folder + "/data";
    g_mkdir(devices.c_str(), 0700);
    g_mkdir(data.c_str(), 0700);
    WriteFile(devices + "/graph.camera", "[Device]\nName=Graph Camera\nSizes=352x288;640x480\nPattern=smpte\n");
    WriteFile(devices + "/graph.microphone", "[Device]\nName=Graph Microphone\n");
    WriteFile(devices + "/dv.camera", "[Device]\nName=Graph DV Camera\nSizes=720x480\nPattern=smpte\n");
    WriteFile(devices + "/sync.camera", "[Device]\nName=Graph Sync Camera\nPattern=sync\n");
    WriteFile(devices + "/sync.microphone", "[Device]\nName=Graph Sync Microphone\nPattern=sync\n");
    g_setenv("VISTREL_TEST_DEVICES", devices.c_str(), TRUE);
    g_setenv("XDG_DATA_HOME", data.c_str(), TRUE);
    g_setenv("XDG_STATE_HOME", (env.folder + "/state").c_str(), TRUE);
    g_setenv("GST_REGISTRY", (env.folder + "/registry.bin").c_str(), TRUE);
    // Plugins are scanned in this process, so a sanitizer build's plugin loads beside its runtime.
    g_setenv("GST_REGISTRY_FORK", "no", TRUE);
    // The tool has its own GStreamer; it must see the same private places.
    env.effectRegistered = RegisterEffect();
    if (!env.effectRegistered) std::fprintf(stderr, "note: the effect plugin could not be registered\n");

    std::unique_ptr<platform::GtkUiHost> ui;
    if (gtk_init_check(&argc, &argv)) {
        ui = std::make_unique<platform::GtkUiHost>();
        env.ui = ui.get();
    } else {
        std::fprintf(stderr, "note: no display; the renderer is a fake sink\n");
    }
    int result = 0;
    {
        platform::gst::GstMedia media(env.ui);
        env.media = &media;
        result = RUN_ALL_TESTS();
        env.media = nullptr;
    }
    ui.reset();
    RemoveTree(env.folder);
    return result;
}
