#include "videoeffect/EffectLookup.h"

#include <cstring>

namespace videoeffect {

GRefPtr<GstElementFactory> FindFactoryByLongName(const char* longName, bool rescan) {
    if (!longName) return nullptr;
    if (rescan) gst_update_registry();
    GstObjectListPtr factories(gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY));
    for (GList* item = factories.get(); item; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        const gchar* name = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
        if (name && std::strcmp(name, longName) == 0) return RefGRef(factory);
    }
    return nullptr;
}

}  // namespace videoeffect
