// The "Video Effect Filter" element: a GstVideoFilter whose properties and action signals carry
// the program's effect controls, and the plugin that registers it.
#include <gst/gst.h>
#include <gst/video/gstvideofilter.h>
#include <gst/video/video.h>

#include <initializer_list>
#include <utility>

#include "EffectKernels.h"
#include "videoeffect/VideoEffect.h"

G_BEGIN_DECLS
#define VISTREL_TYPE_VIDEO_EFFECT (vistrel_video_effect_get_type())
G_DECLARE_FINAL_TYPE(VistrelVideoEffect, vistrel_video_effect, VISTREL, VIDEO_EFFECT, GstVideoFilter)
G_END_DECLS

struct _VistrelVideoEffect {
    GstVideoFilter parent;

    // The controls as last set, guarded by the object lock.
    gint tone;
    gint red;
    gint green;
    gint blue;
    gint mirror;

    // Streaming thread only: the negotiated layout and the controls this frame is made with.
    videoeffect::PixelLayout layout;
    videoeffect::EffectParams active;
};

G_DEFINE_TYPE(VistrelVideoEffect, vistrel_video_effect, GST_TYPE_VIDEO_FILTER)

GST_DEBUG_CATEGORY_STATIC(video_effect_debug);
#define GST_CAT_DEFAULT video_effect_debug

namespace {

enum Property { PROP_0, PROP_TONE, PROP_RED, PROP_GREEN, PROP_BLUE, PROP_MIRROR, N_PROPERTIES };
GParamSpec* g_properties[N_PROPERTIES];

#define VIDEO_EFFECT_CAPS GST_VIDEO_CAPS_MAKE("{ BGRx, BGRA, RGBx, xRGB, xBGR, RGBA, ARGB, ABGR, BGR, RGB }")

GstStaticPadTemplate g_sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(VIDEO_EFFECT_CAPS));
GstStaticPadTemplate g_srcTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(VIDEO_EFFECT_CAPS));

gint* Field(VistrelVideoEffect* self, guint propId) {
    switch (propId) {
    case PROP_TONE: return &self->tone;
    case PROP_RED: return &self->red;
    case PROP_GREEN: return &self->green;
    case PROP_BLUE: return &self->blue;
    case PROP_MIRROR: return &self->mirror;
    default: return nullptr;
    }
}

void SetProperty(GObject* object, guint propId, const GValue* value, GParamSpec* pspec) {
    VistrelVideoEffect* self = VISTREL_VIDEO_EFFECT(object);
    gint* field = Field(self, propId);
    if (!field) {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, propId, pspec);
        return;
    }
    GST_OBJECT_LOCK(self);
    *field = g_value_get_int(value);
    GST_OBJECT_UNLOCK(self);
}

void GetProperty(GObject* object, guint propId, GValue* value, GParamSpec* pspec) {
    VistrelVideoEffect* self = VISTREL_VIDEO_EFFECT(object);
    gint* field = Field(self, propId);
    if (!field) {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, propId, pspec);
        return;
    }
    GST_OBJECT_LOCK(self);
    g_value_set_int(value, *field);
    GST_OBJECT_UNLOCK(self);
}

// Stores new values in one locked step, so a frame never sees half of a change, then tells
// whoever watches the properties which of them moved.
void StoreControls(VistrelVideoEffect* self, std::initializer_list<std::pair<Property, gint>> values) {
    bool changed[N_PROPERTIES] = {};
    GST_OBJECT_LOCK(self);
    for (const auto& [prop, value] : values) {
        gint* field = Field(self, prop);
        changed[prop] = *field != value;
        *field = value;
    }
    GST_OBJECT_UNLOCK(self);
    for (int prop = PROP_0 + 1; prop < N_PROPERTIES; ++prop) {
        if (changed[prop]) g_object_notify_by_pspec(G_OBJECT(self), g_properties[prop]);
    }
}

void OnSetEffect(VistrelVideoEffect* self, gint tone, gint red, gint green, gint blue, gpointer) {
    StoreControls(self, {{PROP_TONE, tone}, {PROP_RED, red != 0}, {PROP_GREEN, green != 0}, {PROP_BLUE, blue != 0}});
}

void OnSetMirror(VistrelVideoEffect* self, gint mirror, gpointer) { StoreControls(self, {{PROP_MIRROR, mirror}}); }

// Takes this frame's controls in one step, and lets frames through untouched (no copy) while
// nothing is to be done.
void BeforeTransform(GstBaseTransform* trans, GstBuffer*) {
    VistrelVideoEffect* self = VISTREL_VIDEO_EFFECT(trans);
    GST_OBJECT_LOCK(self);
    self->active = videoeffect::ParamsFromCodes(self->tone, self->red, self->green, self->blue, self->mirror);
    GST_OBJECT_UNLOCK(self);
    const gboolean identity = self->active.IsIdentity();
    if (identity != gst_base_transform_is_passthrough(trans)) {
        GST_DEBUG_OBJECT(self, "passthrough %d", identity);
        gst_base_transform_set_passthrough(trans, identity);
        // Leaving passthrough needs an output buffer pool; entering it lets upstream's through.
        gst_base_transform_reconfigure_src(trans);
    }
}

gboolean SetInfo(GstVideoFilter* filter, GstCaps*, GstVideoInfo* inInfo, GstCaps*, GstVideoInfo* outInfo) {
    VistrelVideoEffect* self = VISTREL_VIDEO_EFFECT(filter);
    const GstVideoFormatInfo* f = inInfo->finfo;
    if (GST_VIDEO_INFO_FORMAT(inInfo) != GST_VIDEO_INFO_FORMAT(outInfo) ||
        GST_VIDEO_INFO_WIDTH(inInfo) != GST_VIDEO_INFO_WIDTH(outInfo) ||
        GST_VIDEO_INFO_HEIGHT(inInfo) != GST_VIDEO_INFO_HEIGHT(outInfo) || !GST_VIDEO_FORMAT_INFO_IS_RGB(f) ||
        GST_VIDEO_FORMAT_INFO_N_PLANES(f) != 1 || GST_VIDEO_FORMAT_INFO_DEPTH(f, 0) != 8 ||
        GST_VIDEO_FORMAT_INFO_HAS_PALETTE(f)) {
        GST_WARNING_OBJECT(self, "cannot handle %s", GST_VIDEO_INFO_NAME(inInfo));
        return FALSE;
    }
    const gint pixelStride = GST_VIDEO_FORMAT_INFO_PSTRIDE(f, 0);
    if (pixelStride != 3 && pixelStride != 4) return FALSE;
    self->layout = {pixelStride, static_cast<int>(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_R)),
                    static_cast<int>(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_G)),
                    static_cast<int>(GST_VIDEO_FORMAT_INFO_POFFSET(f, GST_VIDEO_COMP_B))};
    return TRUE;
}

GstFlowReturn TransformFrame(GstVideoFilter* filter, GstVideoFrame* in, GstVideoFrame* out) {
    VistrelVideoEffect* self = VISTREL_VIDEO_EFFECT(filter);
    videoeffect::RenderEffect(
        {static_cast<const guint8*>(GST_VIDEO_FRAME_PLANE_DATA(in, 0)), GST_VIDEO_FRAME_PLANE_STRIDE(in, 0)},
        {static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(out, 0)), GST_VIDEO_FRAME_PLANE_STRIDE(out, 0)},
        GST_VIDEO_FRAME_WIDTH(in), GST_VIDEO_FRAME_HEIGHT(in), self->layout, self->active);
    return GST_FLOW_OK;
}

GParamSpec* IntControl(const char* name, const char* nick, const char* blurb, gint min, gint max, gint initial) {
    return g_param_spec_int(
        name, nick, blurb, min, max, initial,
        static_cast<GParamFlags>(G_PARAM_READWRITE | GST_PARAM_MUTABLE_PLAYING | G_PARAM_STATIC_STRINGS));
}

gboolean PluginInit(GstPlugin* plugin) {
    return gst_element_register(plugin, videoeffect::kFactoryName, GST_RANK_NONE, VISTREL_TYPE_VIDEO_EFFECT);
}

}  // namespace

static void vistrel_video_effect_class_init(VistrelVideoEffectClass* klass) {
    GObjectClass* objectClass = G_OBJECT_CLASS(klass);
    GstElementClass* elementClass = GST_ELEMENT_CLASS(klass);
    GstBaseTransformClass* transformClass = GST_BASE_TRANSFORM_CLASS(klass);
    GstVideoFilterClass* filterClass = GST_VIDEO_FILTER_CLASS(klass);

    GST_DEBUG_CATEGORY_INIT(video_effect_debug, videoeffect::kFactoryName, 0, videoeffect::kLongName);

    objectClass->set_property = SetProperty;
    objectClass->get_property = GetProperty;
    g_properties[PROP_TONE] = IntControl(videoeffect::kPropTone, "Tone",
                                         "-1 keep only the flagged channels, 0 none, 1 black and white, "
                                         "6 sepia; other values act as 0",
                                         G_MININT, G_MAXINT, effect::kToneNone);
    g_properties[PROP_RED] = IntControl(videoeffect::kPropRed, "Red", "Keep red when tone is -1", 0, 1, 1);
    g_properties[PROP_GREEN] = IntControl(videoeffect::kPropGreen, "Green", "Keep green when tone is -1", 0, 1, 1);
    g_properties[PROP_BLUE] = IntControl(videoeffect::kPropBlue, "Blue", "Keep blue when tone is -1", 0, 1, 1);
    g_properties[PROP_MIRROR] = IntControl(videoeffect::kPropMirror, "Mirror",
                                           "0 none, 2 horizontal and vertical, 4 horizontal (left-right), "
                                           "6 vertical (top-bottom); other values act as 0",
                                           G_MININT, G_MAXINT, effect::kMirrorNone);
    g_object_class_install_properties(objectClass, N_PROPERTIES, g_properties);

    g_signal_new_class_handler(videoeffect::kSignalSetEffect, G_TYPE_FROM_CLASS(klass),
                               static_cast<GSignalFlags>(G_SIGNAL_RUN_LAST | G_SIGNAL_ACTION), G_CALLBACK(OnSetEffect),
                               nullptr, nullptr, nullptr, G_TYPE_NONE, 4, G_TYPE_INT, G_TYPE_INT, G_TYPE_INT,
                               G_TYPE_INT);
    g_signal_new_class_handler(videoeffect::kSignalSetMirror, G_TYPE_FROM_CLASS(klass),
                               static_cast<GSignalFlags>(G_SIGNAL_RUN_LAST | G_SIGNAL_ACTION), G_CALLBACK(OnSetMirror),
                               nullptr, nullptr, nullptr, G_TYPE_NONE, 1, G_TYPE_INT);

    gst_element_class_set_static_metadata(elementClass, videoeffect::kLongName, "Filter/Effect/Video",
                                          "Black and white, sepia, colour channel mask and mirroring",
                                          "Vistrel");
    gst_element_class_add_static_pad_template(elementClass, &g_sinkTemplate);
    gst_element_class_add_static_pad_template(elementClass, &g_srcTemplate);

    transformClass->before_transform = BeforeTransform;
    transformClass->passthrough_on_same_caps = FALSE;
    filterClass->set_info = SetInfo;
    filterClass->transform_frame = TransformFrame;
}

static void vistrel_video_effect_init(VistrelVideoEffect* self) {
    self->tone = effect::kToneNone;
    self->red = self->green = self->blue = 1;
    self->mirror = effect::kMirrorNone;
    self->active = videoeffect::ParamsFromCodes(self->tone, self->red, self->green, self->blue, self->mirror);
    gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(self), TRUE);
}

// GST_PLUGIN_DEFINE takes the plugin's source module from PACKAGE, as an autotools build would set it.
#define PACKAGE "Vistrel"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, Videoeffect, "Vistrel's video effect filter", PluginInit,
                  "1.0", "Proprietary", "Vistrel", "Vistrel")

// A plugin file's descriptor is looked up under a symbol named after the file. The copy that
// vistrel-regsvr installs for the registry scan is "libvistrel-videoeffect.so", so the descriptor
// answers to that name as well (GST_PLUGIN_DEFINE keeps its own descriptor symbol private).
extern "C" {
GST_PLUGIN_EXPORT const GstPluginDesc* gst_plugin_vistrel_videoeffect_get_desc(void);
const GstPluginDesc* gst_plugin_vistrel_videoeffect_get_desc(void) { return gst_plugin_Videoeffect_get_desc(); }
}
