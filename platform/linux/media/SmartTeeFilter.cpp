#include "SmartTeeFilter.h"

#include "BinChain.h"

namespace platform::gst {
namespace {

// Buffers for a branch whose output is not connected are dropped here rather than failing with
// not-linked, which would stop the source; dropped before the queue, so that its thread does not
// wake for every frame nobody records.
GstPadProbeReturn DropWhenUnconnected(GstPad*, GstPadProbeInfo*, gpointer ghost) {
    return gst_pad_is_linked(GST_PAD(ghost)) ? GST_PAD_PROBE_OK : GST_PAD_PROBE_DROP;
}

bool AddBranch(GstElement* bin, GstElement* tee, GstElement* queue, const char* ghostName) {
    gst_bin_add(GST_BIN(bin), queue);
    if (!gst_element_link(tee, queue)) return false;
    GstPad* ghost = AddGhostPad(bin, queue, "src", ghostName);
    if (!ghost) return false;
    GstPad* queueSink = gst_element_get_static_pad(queue, "sink");
    gst_pad_add_probe(queueSink, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      DropWhenUnconnected, ghost, nullptr);
    gst_object_unref(queueSink);
    return true;
}

}  // namespace

ComPtr<IBaseFilter> SmartTeeFilter::Create() {
    GstElement* tee = MakeElement("tee");
    GstElement* capture = MakeElement("queue", "capture");
    GstElement* preview = MakeElement("queue", "preview");
    if (!tee || !capture || !preview) {
        for (GstElement* e : {tee, capture, preview})
            if (e) gst_object_unref(gst_object_ref_sink(e));
        return nullptr;
    }
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    // The recording branch keeps every frame and may lag behind by a few seconds (encoding);
    // the preview branch keeps one frame in hand and drops the older one.
    g_object_set(capture, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time", guint64(3 * GST_SECOND), nullptr);
    g_object_set(preview, "max-size-buffers", 2u, "max-size-bytes", 0u, "max-size-time", guint64(0), "leaky", 2 /* downstream */,
                 nullptr);
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add(GST_BIN(bin), tee);
    AddGhostPad(bin, tee, "sink", "sink");
    if (!AddBranch(bin, tee, capture, "capture") || !AddBranch(bin, tee, preview, "preview")) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    return ComPtr<IBaseFilter>::Adopt(new SmartTeeFilter(bin));
}

}  // namespace platform::gst
