#include "BinChain.h"

#include <cstdio>
#include <vector>

namespace platform::gst {

GstElement* MakeElement(const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (!element) std::fprintf(stderr, "vistrel: GStreamer element %s is missing\n", factory);
    return element;
}

GstPad* AddGhostPad(GstElement* bin, GstElement* element, const char* padName, const char* ghostName) {
    GstPad* target = gst_element_get_static_pad(element, padName);
    if (!target) return nullptr;
    GstPad* ghost = gst_ghost_pad_new(ghostName, target);
    gst_object_unref(target);
    gst_pad_set_active(ghost, TRUE);
    gst_element_add_pad(bin, ghost);
    return ghost;
}

GstElement* MakeChainBin(const char* name, std::initializer_list<GstElement*> elements) {
    bool complete = true;
    for (GstElement* element : elements) complete = complete && element;
    if (!complete) {
        for (GstElement* element : elements)
            if (element) gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    GstElement* bin = gst_bin_new(name);
    GstElement* previous = nullptr;
    for (GstElement* element : elements) {
        gst_bin_add(GST_BIN(bin), element);
        if (previous && !gst_element_link(previous, element)) {
            gst_object_unref(gst_object_ref_sink(bin));
            return nullptr;
        }
        previous = element;
    }
    GstElement* first = *elements.begin();
    GstElement* last = previous;
    if (first->numsinkpads > 0) AddGhostPad(bin, first, "sink", "sink");
    if (last->numsrcpads > 0) AddGhostPad(bin, last, "src", "src");
    return bin;
}

}  // namespace platform::gst
