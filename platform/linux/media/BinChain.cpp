#include "BinChain.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace platform::gst {

GstElement* MakeElement(const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (!element) std::fprintf(stderr, "vistrel: GStreamer element %s is missing\n", factory);
    return element;
}

GstPad* AddGhostPad(GstElement* bin, GstElement* element, const char* padName, const char* ghostName) {
    auto target = AdoptGRef(gst_element_get_static_pad(element, padName));
    if (!target) return nullptr;
    GstPad* ghost = gst_ghost_pad_new(ghostName, target.get());
    gst_pad_set_active(ghost, TRUE);
    gst_element_add_pad(bin, ghost);  // sinks the new pad
    return ghost;
}

bool AddChain(GstElement* bin, std::initializer_list<GstElement*> elements) {
    std::vector<GRefPtr<GstElement>> owned;
    for (GstElement* element : elements) owned.push_back(AdoptGRef(element));
    if (std::any_of(owned.begin(), owned.end(), [](const GRefPtr<GstElement>& e) { return !e; })) return false;
    GstElement* previous = nullptr;
    for (GRefPtr<GstElement>& element : owned) {
        GstElement* added = AddToBin(bin, std::move(element));
        if (!added || (previous && !gst_element_link(previous, added))) return false;
        previous = added;
    }
    return true;
}

GstElement* MakeChainBin(const char* name, std::initializer_list<GstElement*> elements) {
    auto bin = AdoptGRef(gst_bin_new(name));
    if (!AddChain(bin.get(), elements)) return nullptr;
    GstElement* first = *elements.begin();
    GstElement* last = *std::prev(elements.end());
    if (first->numsinkpads > 0) AddGhostPad(bin.get(), first, "sink", "sink");
    if (last->numsrcpads > 0) AddGhostPad(bin.get(), last, "src", "src");
    return bin.release();
}

}  // namespace platform::gst
