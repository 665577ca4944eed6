// The device tests see the test devices only: every other provider (v4l2, pulse, pipewire …)
// is switched off, so a camera on the machine running them changes nothing.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    gst_init(&argc, &argv);
    GList* providers = gst_device_provider_factory_list_get_device_providers(GST_RANK_NONE);
    for (GList* l = providers; l; l = l->next)
        gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(l->data), GST_RANK_NONE);
    gst_plugin_feature_list_free(providers);
    return RUN_ALL_TESTS();
}
