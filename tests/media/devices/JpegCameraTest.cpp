// A camera like most USB webcams: large sizes only as JPEG, raw YUY2 over a range of sizes. Its
// types are what it lists, and a JPEG-only size is decoded to raw video.
#include <gtest/gtest.h>

#include "CameraFilter.h"
#include "DeviceList.h"
#include "DeviceTestSupport.h"

namespace {

struct FakeWebcam {
    GstDevice parent;
};
struct FakeWebcamClass {
    GstDeviceClass parent_class;
};

G_DEFINE_TYPE(FakeWebcam, fake_webcam, GST_TYPE_DEVICE)

// Gives JPEG only: enough for the sizes it has only as JPEG.
GstElement* CreateJpegSource(GstDevice*, const gchar* name) {
    GstElement* bin = gst_bin_new(name);
    GstElement* source = gst_element_factory_make("videotestsrc", nullptr);
    GstElement* encoder = gst_element_factory_make("jpegenc", nullptr);
    g_object_set(source, "is-live", TRUE, nullptr);
    gst_bin_add_many(GST_BIN(bin), source, encoder, nullptr);
    gst_element_link(source, encoder);
    GstPad* target = gst_element_get_static_pad(encoder, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", target));
    gst_object_unref(target);
    GST_OBJECT_FLAG_SET(bin, GST_ELEMENT_FLAG_SOURCE);
    return bin;
}

void fake_webcam_class_init(FakeWebcamClass* klass) { GST_DEVICE_CLASS(klass)->create_element = CreateJpegSource; }
void fake_webcam_init(FakeWebcam*) {}

}  // namespace

namespace vistrel::test {
namespace {

using platform::gst::CameraFilter;

std::optional<platform::gst::DeviceInfo> FakeWebcamDevice() {
    GstCaps* caps = gst_caps_from_string(
        "image/jpeg, width=1280, height=1024, framerate=30/1; "
        "video/x-raw, format=YUY2, width=[160, 1920], height=[120, 720], framerate={ 30/1, 15/1 }");
    GstStructure* properties = gst_structure_new("props", "api.v4l2.path", G_TYPE_STRING, "/dev/video-fake", nullptr);
    gpointer object = g_object_new(fake_webcam_get_type(), "display-name", "Fake Webcam", "device-class",
                                   "Video/Source", "caps", caps, "properties", properties, nullptr);
    gst_caps_unref(caps);
    gst_structure_free(properties);
    GstDevice* device = GST_DEVICE(gst_object_ref_sink(object));
    auto info = platform::gst::DescribeDevice(device);
    gst_object_unref(device);
    return info;
}

struct TypeSummary {
    GUID subtype;
    int width;
    int height;
    friend bool operator==(const TypeSummary&, const TypeSummary&) = default;
};

std::vector<TypeSummary> Summaries(const std::vector<AM_MEDIA_TYPE>& types) {
    std::vector<TypeSummary> out;
    for (const AM_MEDIA_TYPE& type : types) {
        auto vih = ReadVideoInfo(type);
        out.push_back({type.subtype, vih ? vih->bmiHeader.biWidth : 0, vih ? vih->bmiHeader.biHeight : 0});
    }
    return out;
}

AM_MEDIA_TYPE Sized(AM_MEDIA_TYPE type, int width, int height) {
    auto vih = *ReadVideoInfo(type);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    WriteVideoInfo(type, vih);
    return type;
}

TEST(JpegCamera, ListsJpegSizesAndTheCommonSizesItsRawRangeCovers) {
    auto device = FakeWebcamDevice();
    ASSERT_TRUE(device);
    EXPECT_EQ(device->path, "/dev/video-fake");
    ComPtr<IBaseFilter> filter = CameraFilter::Create(*device);
    ASSERT_TRUE(filter);
    CameraFilter* camera = CameraFilter::From(filter.Get());
    const GUID Y = MEDIASUBTYPE_YUY2;
    EXPECT_EQ(Summaries(camera->PinMediaTypes(PINDIR_OUTPUT, 0)),
              (std::vector<TypeSummary>{{MEDIASUBTYPE_MJPG, 1280, 1024},
                                        {Y, 160, 120},
                                        {Y, 176, 144},
                                        {Y, 320, 240},
                                        {Y, 352, 288},
                                        {Y, 640, 480},
                                        {Y, 720, 480},
                                        {Y, 800, 600},
                                        {Y, 1280, 720}}));
    // The rate a list offers is read as the nearest to 30 per second.
    EXPECT_EQ(ReadVideoInfo(camera->DeviceTypes()[1])->AvgTimePerFrame, 333333);
}

TEST(JpegCamera, ASizeOnlyJpegOffersIsDecodedToRawVideo) {
    auto device = FakeWebcamDevice();
    ASSERT_TRUE(device);
    ComPtr<IBaseFilter> filter = CameraFilter::Create(*device);
    CameraFilter* camera = CameraFilter::From(filter.Get());
    const AM_MEDIA_TYPE yuy2 = camera->DeviceTypes()[5];  // 640x480

    // Asked in the raw format the camera lacks at that size: taken as JPEG.
    ASSERT_EQ(camera->SetCaptureType(Sized(yuy2, 1280, 1024)), S_OK);
    EXPECT_EQ(camera->CurrentType().subtype, MEDIASUBTYPE_MJPG);
    EXPECT_EQ(camera->SetCaptureType(Sized(yuy2, 1920, 1080)), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(camera->CurrentType().subtype, MEDIASUBTYPE_MJPG);

    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    gst_bin_add_many(GST_BIN(pipeline), GST_ELEMENT(gst_object_ref(camera->Element())), sink, nullptr);
    ASSERT_TRUE(gst_element_link(camera->Element(), sink));
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstCaps* caps = nullptr;
    PumpUntil([&] { return (caps = gst_pad_get_current_caps(pad)) != nullptr; });
    ASSERT_TRUE(caps);
    const GstStructure* s = gst_caps_get_structure(caps, 0);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(gst_structure_has_name(s, "video/x-raw"));
    EXPECT_TRUE(gst_structure_get_int(s, "width", &width) && gst_structure_get_int(s, "height", &height));
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
    gst_caps_unref(caps);
    gst_object_unref(pad);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_bin_remove(GST_BIN(pipeline), camera->Element());
    gst_object_unref(pipeline);

    // Back to a raw size: the decoder leaves the chain.
    ASSERT_EQ(camera->SetCaptureType(Sized(yuy2, 720, 480)), S_OK);
    EXPECT_EQ(camera->CurrentType().subtype, MEDIASUBTYPE_YUY2);
}

}  // namespace
}  // namespace vistrel::test
