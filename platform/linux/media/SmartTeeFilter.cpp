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

bool AddBranch(GstElement* bin, GstElement* tee, GRefPtr<GstElement> queue, const char* ghostName) {
    GstElement* added = AddToBin(bin, std::move(queue));
    if (!added || !gst_element_link(tee, added)) return false;
    GstPad* ghost = AddGhostPad(bin, added, "src", ghostName);
    if (!ghost) return false;
    auto queueSink = AdoptGRef(gst_element_get_static_pad(added, "sink"));
    gst_pad_add_probe(queueSink.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      DropWhenUnconnected, ghost, nullptr);
    return true;
}

}  // namespace

ComPtr<IBaseFilter> SmartTeeFilter::Create() {
    auto tee = AdoptGRef(MakeElement("tee"));
    auto capture = AdoptGRef(MakeElement("queue", "capture"));
    auto preview = AdoptGRef(MakeElement("queue", "preview"));
    if (!tee || !capture || !preview) return nullptr;
    g_object_set(tee.get(), "allow-not-linked", TRUE, nullptr);
    // The recording branch keeps every frame and may lag behind by a few seconds (encoding);
    // the preview branch keeps one frame in hand and drops the older one.
    g_object_set(capture.get(), "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time", guint64(3 * GST_SECOND), nullptr);
    g_object_set(preview.get(), "max-size-buffers", 2u, "max-size-bytes", 0u, "max-size-time", guint64(0), "leaky", 2 /* downstream */,
                 nullptr);
    auto bin = AdoptGRef(gst_bin_new(nullptr));
    GstElement* splitter = AddToBin(bin.get(), std::move(tee));
    AddGhostPad(bin.get(), splitter, "sink", "sink");
    if (!AddBranch(bin.get(), splitter, std::move(capture), "capture") ||
        !AddBranch(bin.get(), splitter, std::move(preview), "preview"))
        return nullptr;
    return ComPtr<IBaseFilter>::Adopt(new SmartTeeFilter(bin.release()));
}

}  // namespace platform::gst
