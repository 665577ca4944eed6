#include "RgbToI420Element.h"

#include <gst/gst.h>
#include <gst/video/gstvideofilter.h>
#include <gst/video/video.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RgbToI420.h"

G_BEGIN_DECLS
#define VISTREL_TYPE_RGB_TO_I420 (vistrel_rgb_to_i420_get_type())
G_DECLARE_FINAL_TYPE(VistrelRgbToI420, vistrel_rgb_to_i420, VISTREL, RGB_TO_I420, GstVideoFilter)
G_END_DECLS

struct _VistrelRgbToI420 {
    GstVideoFilter parent;
    // Streaming thread only, made when the formats are set.
    bool convert;
    platform::gst::YuvWeights weights;
};

G_DEFINE_TYPE(VistrelRgbToI420, vistrel_rgb_to_i420, GST_TYPE_VIDEO_FILTER)

GST_DEBUG_CATEGORY_STATIC(rgb_to_i420_debug);
#define GST_CAT_DEFAULT rgb_to_i420_debug

namespace {

constexpr std::array<std::string_view, 8> kRgbFormats = {"BGRx", "BGRA", "RGBx", "RGBA", "xRGB", "ARGB", "xBGR", "ABGR"};
constexpr std::string_view kI420 = "I420";

#define RGB_TO_I420_CAPS GST_VIDEO_CAPS_MAKE(GST_VIDEO_FORMATS_ALL)
GstStaticPadTemplate g_sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(RGB_TO_I420_CAPS));
GstStaticPadTemplate g_srcTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(RGB_TO_I420_CAPS));

bool IsRgb(std::string_view format) {
    return std::find(kRgbFormats.begin(), kRgbFormats.end(), format) != kRgbFormats.end();
}

// The formats a caps structure names; none when it leaves the format open.
std::vector<std::string> FormatsOf(const GstStructure* s) {
    std::vector<std::string> formats;
    const GValue* value = gst_structure_get_value(s, "format");
    if (value && G_VALUE_HOLDS_STRING(value)) formats.emplace_back(g_value_get_string(value));
    if (value && GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            const GValue* item = gst_value_list_get_value(value, i);
            if (G_VALUE_HOLDS_STRING(item)) formats.emplace_back(g_value_get_string(item));
        }
    }
    return formats;
}

// Appends a copy of the structure naming these formats instead. A copy that changes between
// RGB and YUV leaves out the colorimetry and chroma siting, which belong to one of the two.
void AppendWithFormats(GstCaps* caps, const GstStructure* s, GstCapsFeatures* features,
                       const std::vector<std::string>& formats, bool otherFamily) {
    if (formats.empty()) return;
    GstStructure* copy = gst_structure_copy(s);
    if (formats.size() == 1) {
        gst_structure_set(copy, "format", G_TYPE_STRING, formats[0].c_str(), nullptr);
    } else {
        GValue list = G_VALUE_INIT;
        gst_value_list_init(&list, guint(formats.size()));
        for (const std::string& format : formats) {
            GValue item = G_VALUE_INIT;
            g_value_init(&item, G_TYPE_STRING);
            g_value_set_string(&item, format.c_str());
            gst_value_list_append_and_take_value(&list, &item);
        }
        gst_structure_take_value(copy, "format", &list);
    }
    if (otherFamily) gst_structure_remove_fields(copy, "colorimetry", "chroma-site", nullptr);
    gst_caps_append_structure_full(caps, copy, features ? gst_caps_features_copy(features) : nullptr);
}

// RGB in gives I420 out, and only that, so an RGB picture is never passed on for a slower
// conversion; any other format passes through.
GstCaps* TransformCaps(GstBaseTransform*, GstPadDirection direction, GstCaps* caps, GstCaps* filter) {
    GstCaps* result = gst_caps_new_empty();
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure* s = gst_caps_get_structure(caps, i);
        GstCapsFeatures* features = gst_caps_get_features(caps, i);
        const std::vector<std::string> formats = FormatsOf(s);
        if (formats.empty()) {
            gst_caps_append_structure_full(result, gst_structure_copy(s),
                                           features ? gst_caps_features_copy(features) : nullptr);
            continue;
        }
        std::vector<std::string> same, converted;
        for (const std::string& format : formats) {
            if (!IsRgb(format)) same.push_back(format);
            if (direction == GST_PAD_SINK && IsRgb(format) &&
                std::find(converted.begin(), converted.end(), kI420) == converted.end())
                converted.emplace_back(kI420);
            if (direction == GST_PAD_SRC && format == kI420) converted.assign(kRgbFormats.begin(), kRgbFormats.end());
        }
        AppendWithFormats(result, s, features, same, false);
        AppendWithFormats(result, s, features, converted, true);
    }
    if (filter) {
        GstCaps* both = gst_caps_intersect_full(filter, result, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(result);
        result = both;
    }
    return result;
}

// Converted caps are fixed as soon as they are made, and the base class then asks downstream
// nothing; a downstream that names a colorimetry (matrix and range) is asked here and gets it.
GstCaps* FixateCaps(GstBaseTransform* trans, GstPadDirection direction, GstCaps*, GstCaps* othercaps) {
    if (direction == GST_PAD_SINK) {
        GstCaps* peer = gst_pad_peer_query_caps(GST_BASE_TRANSFORM_SRC_PAD(trans), othercaps);
        if (peer && !gst_caps_is_empty(peer)) std::swap(peer, othercaps);
        if (peer) gst_caps_unref(peer);
    }
    return gst_caps_fixate(othercaps);
}

gboolean SetInfo(GstVideoFilter* filter, GstCaps*, GstVideoInfo* in, GstCaps*, GstVideoInfo* out) {
    VistrelRgbToI420* self = VISTREL_RGB_TO_I420(filter);
    self->convert = false;
    if (GST_VIDEO_INFO_WIDTH(in) != GST_VIDEO_INFO_WIDTH(out) ||
        GST_VIDEO_INFO_HEIGHT(in) != GST_VIDEO_INFO_HEIGHT(out))
        return FALSE;
    // Anything but RGB passes through; the base class copies nothing then.
    if (!IsRgb(GST_VIDEO_INFO_NAME(in))) return GST_VIDEO_INFO_FORMAT(in) == GST_VIDEO_INFO_FORMAT(out);
    gdouble kr = 0, kb = 0;
    if (GST_VIDEO_INFO_FORMAT(out) != GST_VIDEO_FORMAT_I420 ||
        !gst_video_color_matrix_get_Kr_Kb(out->colorimetry.matrix, &kr, &kb)) {
        GST_WARNING_OBJECT(self, "cannot convert %s to %s", GST_VIDEO_INFO_NAME(in), GST_VIDEO_INFO_NAME(out));
        return FALSE;
    }
    // The matrix and range are the output caps' own, as videoconvert takes them: BT.601 up to
    // 576 lines and BT.709 above when the caps leave them open, limited range.
    gint offset[GST_VIDEO_MAX_COMPONENTS] = {};
    gint scale[GST_VIDEO_MAX_COMPONENTS] = {};
    gst_video_color_range_offsets(out->colorimetry.range, out->finfo, offset, scale);
    const GstVideoFormatInfo* f = in->finfo;
    self->weights = platform::gst::MakeYuvWeights({kr, kb, offset[0], scale[0], offset[1], scale[1]},
                                                  int(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_R)),
                                                  int(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_G)),
                                                  int(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_B)));
    self->convert = true;
    return TRUE;
}

GstFlowReturn TransformFrame(GstVideoFilter* filter, GstVideoFrame* in, GstVideoFrame* out) {
    VistrelRgbToI420* self = VISTREL_RGB_TO_I420(filter);
    if (!self->convert) return gst_video_frame_copy(out, in) ? GST_FLOW_OK : GST_FLOW_ERROR;
    platform::gst::ConvertRgbToI420(
        {static_cast<const guint8*>(GST_VIDEO_FRAME_PLANE_DATA(in, 0)), GST_VIDEO_FRAME_PLANE_STRIDE(in, 0),
         GST_VIDEO_FRAME_WIDTH(in), GST_VIDEO_FRAME_HEIGHT(in)},
        {static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(out, 0)), GST_VIDEO_FRAME_PLANE_STRIDE(out, 0),
         static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(out, 1)), GST_VIDEO_FRAME_PLANE_STRIDE(out, 1),
         static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(out, 2)), GST_VIDEO_FRAME_PLANE_STRIDE(out, 2)},
        self->weights);
    return GST_FLOW_OK;
}

gboolean PluginInit(GstPlugin* plugin) {
    return gst_element_register(plugin, platform::gst::kRgbToI420Factory, GST_RANK_NONE, VISTREL_TYPE_RGB_TO_I420);
}

}  // namespace

static void vistrel_rgb_to_i420_class_init(VistrelRgbToI420Class* klass) {
    GstElementClass* elementClass = GST_ELEMENT_CLASS(klass);
    GstBaseTransformClass* transformClass = GST_BASE_TRANSFORM_CLASS(klass);
    GstVideoFilterClass* filterClass = GST_VIDEO_FILTER_CLASS(klass);
    GST_DEBUG_CATEGORY_INIT(rgb_to_i420_debug, platform::gst::kRgbToI420Factory, 0, "RGB to I420");
    gst_element_class_set_static_metadata(elementClass, "RGB to I420", "Filter/Converter/Video",
                                          "Four-byte RGB to I420 in fixed point; other formats pass through",
                                          "Vistrel");
    gst_element_class_add_static_pad_template(elementClass, &g_sinkTemplate);
    gst_element_class_add_static_pad_template(elementClass, &g_srcTemplate);
    transformClass->transform_caps = TransformCaps;
    transformClass->fixate_caps = FixateCaps;
    transformClass->passthrough_on_same_caps = TRUE;
    filterClass->set_info = SetInfo;
    filterClass->transform_frame = TransformFrame;
}

static void vistrel_rgb_to_i420_init(VistrelRgbToI420* self) { self->convert = false; }

namespace platform::gst {

bool RegisterRgbToI420() {
    static const bool registered = gst_plugin_register_static(
        GST_VERSION_MAJOR, GST_VERSION_MINOR, "vistrelconvert", "Vistrel's colour conversion for recordings",
        PluginInit, "1.0", "unknown", "vistrel", "Vistrel", "https://example.invalid/vistrel");
    return registered;
}

}  // namespace platform::gst
