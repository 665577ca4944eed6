// The writer built from an edited profile. The profile objects are shared with the sim and
// tested with the unit tests.
#include <gtest/gtest.h>

#include "AsfWriterFilter.h"
#include "GraphTestSupport.h"
#include "GstFilter.h"

using namespace graphtest;

namespace {

class Profile : public testing::Test {
protected:
    void SetUp() override {
        ComPtr<IWMProfileManager> manager;
        ASSERT_EQ(Media().CreateProfileManager(manager), S_OK);
        ASSERT_EQ(manager->LoadProfileByID(WMProfile_V80_384Video, m_profile), S_OK);
    }
    ComPtr<IWMStreamConfig> Stream(uint32_t index) {
        ComPtr<IWMStreamConfig> stream;
        EXPECT_EQ(m_profile->GetStream(index, stream), S_OK);
        return stream;
    }
    ComPtr<IWMProfile> m_profile;
};

// The encoder settings the writer derives from the edited video stream.
TEST_F(Profile, WriterEncodesAtTheProfilesSizeRateAndKeyFrameSpacing) {
    auto video = Stream(1);
    ComPtr<IWMVideoMediaProps> props;
    ASSERT_EQ(video.As(props), S_OK);
    uint32_t size = 0;
    EXPECT_EQ(props->GetMediaType(nullptr, size), S_OK);
    AM_MEDIA_TYPE mt;
    EXPECT_EQ(props->GetMediaType(&mt, size), S_OK);
    auto vih = *ReadVideoInfo(mt);
    vih.bmiHeader.biWidth = 352;
    vih.bmiHeader.biHeight = 288;
    WriteVideoInfo(mt, vih);
    ASSERT_EQ(props->SetMediaType(mt), S_OK);
    ASSERT_EQ(props->SetMaxKeyFrameSpacing(70'000'000), S_OK);
    ASSERT_EQ(m_profile->ReconfigStream(video.Get()), S_OK);
    ASSERT_EQ(m_profile->RemoveStream(Stream(0).Get()), S_OK);

    auto writer = Create<IBaseFilter>(CLSID_WMAsfWriter);
    ComPtr<IConfigAsfWriter> config;
    ASSERT_EQ(writer.As(config), S_OK);
    EXPECT_TRUE(GetPin(writer.Get(), PINDIR_INPUT, 1));  // before: audio and video
    ASSERT_EQ(config->ConfigureFilterUsingProfile(m_profile.Get()), S_OK);
    EXPECT_TRUE(GetPin(writer.Get(), PINDIR_INPUT, 0));
    EXPECT_FALSE(GetPin(writer.Get(), PINDIR_INPUT, 1));

    GstElement* bin = platform::gst::AsGstFilter(writer.Get())->Element();
    GstElement* encoder = nullptr;
    GstElement* size_ = nullptr;
    for (GList* l = GST_BIN_CHILDREN(GST_BIN(bin)); l; l = l->next) {
        GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(l->data));
        std::string name = factory ? GST_OBJECT_NAME(factory) : "";
        if (name == "avenc_wmv2") encoder = GST_ELEMENT(l->data);
        if (name == "capsfilter") size_ = GST_ELEMENT(l->data);
        EXPECT_NE(name, "avenc_wmav2");
    }
    ASSERT_TRUE(encoder && size_);
    gint gop = 0;
    gint bitrate = 0;
    g_object_get(encoder, "gop-size", &gop, "bitrate", &bitrate, nullptr);
    EXPECT_EQ(gop, 7 * 30);
    EXPECT_EQ(bitrate, 300'000);
    GstCaps* caps = nullptr;
    g_object_get(size_, "caps", &caps, nullptr);
    GstStructure* s = gst_caps_get_structure(caps, 0);
    gint width = 0;
    gint height = 0;
    gst_structure_get_int(s, "width", &width);
    gst_structure_get_int(s, "height", &height);
    EXPECT_EQ(width, 352);
    EXPECT_EQ(height, 288);
    gst_caps_unref(caps);
}

}  // namespace
