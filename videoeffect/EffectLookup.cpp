#include "videoeffect/EffectLookup.h"

#include <cstring>

namespace videoeffect {

GstElementFactory* FindFactoryByLongName(const char* longName, bool rescan) {
    if (!longName) return nullptr;
    if (rescan) gst_update_registry();
    GList* factories = gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY);
    GstElementFactory* found = nullptr;
    for (GList* item = factories; item && !found; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        const gchar* name = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
        if (name && std::strcmp(name, longName) == 0) found = GST_ELEMENT_FACTORY(gst_object_ref(factory));
    }
    gst_plugin_feature_list_free(factories);
    return found;
}

}  // namespace videoeffect
