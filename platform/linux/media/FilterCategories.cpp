#include "FilterCategories.h"

#include <gst/gst.h>

#include <string>

#include "EffectFilter.h"
#include "GRefPtr.h"
#include "GstFilter.h"
#include "platform/Strings.h"
#include "videoeffect/EffectLookup.h"
#include "videoeffect/VideoEffect.h"

namespace platform::gst {
namespace {

ComPtr<IBaseFilter> BindFactory(const std::string& factoryName) {
    auto factory = AdoptGRef(gst_element_factory_find(factoryName.c_str()));
    if (!factory) return nullptr;
    if (factoryName == videoeffect::kFactoryName) return EffectFilter::Create(factory.get());
    if (GstElement* element = gst_element_factory_create(factory.get(), nullptr))
        return ComPtr<IBaseFilter>::Adopt(new GstFilter(element));
    return nullptr;
}

}  // namespace

std::vector<CategoryEntry> LegacyFilterEntries() {
    // The lookup rescans the plugin folders, so an effect filter registered by the tool since
    // the process started is listed now.
    (void)videoeffect::FindFactoryByLongName(videoeffect::kLongName, true);
    std::vector<CategoryEntry> entries;
    GstObjectListPtr factories(gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY));
    for (GList* item = factories.get(); item; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        const gchar* longName = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
        if (!longName) continue;
        std::string factoryName = GST_OBJECT_NAME(factory);
        entries.push_back(CategoryEntry{FromUtf8(longName), [factoryName] { return BindFactory(factoryName); }});
    }
    return entries;
}

std::vector<CategoryEntry> AudioCompressorEntries() {
    // Uncompressed audio: converted to what the next filter takes, otherwise untouched.
    return {CategoryEntry{L"PCM", [] { return BindFactory("audioconvert"); }}};
}

}  // namespace platform::gst
