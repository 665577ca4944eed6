// Camera and microphone filters: joining a graph (or not, when busy), the frame size chosen
// through IAMStreamConfig and then really produced, settings pages, and JPEG cameras.
#include <gtest/gtest.h>

#include "CameraFilter.h"
#include "DeviceTestSupport.h"
#include "GstGraph.h"
#include "GstMedia.h"
#include "MicrophoneFilter.h"
#include "platform/media/MediaTypes.h"

namespace vistrel::test {
namespace {

using platform::gst::CameraFilter;
using platform::gst::GstMedia;
using platform::gst::GstGraph;

struct CapsUnref {
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using CapsPtr = std::unique_ptr<GstCaps, CapsUnref>;

ComPtr<IAMStreamConfig> StreamConfigOf(IBaseFilter& filter) {
    ComPtr<IPin> out = FirstOutputPin(filter);
    ComPtr<IAMStreamConfig> config;
    if (out) {
        EXPECT_EQ(out.As(config), S_OK);
    }
    return config;
}

std::pair<int, int> SizeOf(const AM_MEDIA_TYPE& type) {
    auto vih = ReadVideoInfo(type);
    return vih ? std::pair{vih->bmiHeader.biWidth, vih->bmiHeader.biHeight} : std::pair{0, 0};
}

// What the program does to pick a size: the current format with the new width and height.
HRESULT RequestSize(IAMStreamConfig& config, int width, int height) {
    AM_MEDIA_TYPE type;
    EXPECT_EQ(config.GetFormat(type), S_OK);
    auto vih = ReadVideoInfo(type);
    EXPECT_TRUE(vih);
    if (!vih) return E_FAIL;
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biSizeImage = uint32_t(vih->bmiHeader.biBitCount * height * width / 8);
    WriteVideoInfo(type, *vih);
    return config.SetFormat(type);
}

// Plays a filter's element into a fake sink for as long as it lives.
class Player {
public:
    explicit Player(IBaseFilter& filter)
        : m_element(platform::gst::AsGstFilter(&filter)->Element()), m_pipeline(gst_pipeline_new(nullptr)) {
        GstElement* sink = gst_element_factory_make("fakesink", nullptr);
        gst_bin_add_many(GST_BIN(m_pipeline), GST_ELEMENT(gst_object_ref(m_element)), sink, nullptr);
        EXPECT_TRUE(gst_element_link(m_element, sink));
        m_pad = gst_element_get_static_pad(sink, "sink");
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    }
    ~Player() {
        gst_object_unref(m_pad);
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(m_pipeline), m_element);
        gst_object_unref(m_pipeline);
    }

    // The caps negotiated at the sink, once they are; nullptr after an error or a time-out.
    CapsPtr NegotiatedCaps() {
        CapsPtr caps;
        GstBus* bus = gst_element_get_bus(m_pipeline);
        PumpUntil([&] {
            if (GstMessage* error = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
                GError* e = nullptr;
                gst_message_parse_error(error, &e, nullptr);
                ADD_FAILURE() << "pipeline error: " << e->message;
                g_error_free(e);
                gst_message_unref(error);
                return true;
            }
            caps.reset(gst_pad_get_current_caps(m_pad));
            return bool(caps);
        });
        gst_object_unref(bus);
        return caps;
    }

private:
    GstElement* m_element;
    GstElement* m_pipeline;
    GstPad* m_pad = nullptr;
};

std::pair<int, int> CapsSize(const GstCaps* caps) {
    int width = 0;
    int height = 0;
    const GstStructure* s = gst_caps_get_structure(caps, 0);
    gst_structure_get_int(s, "width", &width);
    gst_structure_get_int(s, "height", &height);
    return {width, height};
}

class CameraFilterTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder.Write("1.camera", DeviceFile("Test Camera", "Sizes=352x288;640x480;1280x1024\nPattern=ball\n"));
        m_folder.Write("2.camera", DeviceFile("Busy Camera", "Busy=true\n"));
        m_folder.Write("3.microphone", DeviceFile("Test Microphone"));
        m_folder.Write("4.microphone", DeviceFile("Busy Microphone", "Busy=true\n"));
        EXPECT_EQ(platform::CreateInstance(m_media, CLSID_SystemDeviceEnum, m_devices), S_OK);
    }

    ComPtr<IBaseFilter> Camera(const std::wstring& name) {
        return BindByName(*m_devices, CLSID_VideoInputDeviceCategory, name);
    }
    ComPtr<IBaseFilter> Microphone(const std::wstring& name) {
        return BindByName(*m_devices, CLSID_AudioInputDeviceCategory, name);
    }

    TestDeviceFolder m_folder;
    GstMedia m_media{nullptr};
    ComPtr<ICreateDevEnum> m_devices;

    ComPtr<IGraphBuilder> NewGraph() {
        ComPtr<IGraphBuilder> graph;
        EXPECT_EQ(platform::CreateInstance(m_media, CLSID_FilterGraph, graph), S_OK);
        return graph;
    }
};

TEST_F(CameraFilterTest, BusyDeviceCannotJoinAGraphAndLeavesItUnchanged) {
    ComPtr<IGraphBuilder> graph = NewGraph();
    ComPtr<IBaseFilter> busy = Camera(L"Busy Camera");
    ComPtr<IBaseFilter> busyMicrophone = Microphone(L"Busy Microphone");
    ASSERT_TRUE(busy);
    ASSERT_TRUE(busyMicrophone);
    EXPECT_EQ(graph->AddFilter(busy.Get(), L"Cap"), E_DEVICE_BUSY);
    EXPECT_EQ(graph->AddFilter(busyMicrophone.Get(), L"Audio Cap"), E_DEVICE_BUSY);
    ComPtr<IBaseFilter> found;
    EXPECT_FALSE(SUCCEEDED(graph->FindFilterByName(L"Cap", found)) && found);
    EXPECT_EQ(GST_BIN_NUMCHILDREN(GST_BIN(static_cast<GstGraph*>(graph.Get())->Pipeline())), 0);
    std::wstring name = L"unchanged";
    EXPECT_EQ(busy->QueryFilterInfo(name), S_OK);
    EXPECT_EQ(name, L"");

    // The name stays free for a camera that can start.
    ComPtr<IBaseFilter> free = Camera(L"Test Camera");
    ComPtr<IBaseFilter> microphone = Microphone(L"Test Microphone");
    EXPECT_EQ(graph->AddFilter(free.Get(), L"Cap"), S_OK);
    EXPECT_EQ(graph->AddFilter(microphone.Get(), L"Audio Cap"), S_OK);
    EXPECT_EQ(graph->FindFilterByName(L"Cap", found), S_OK);
    EXPECT_EQ(found, free);
    EXPECT_EQ(GST_BIN_NUMCHILDREN(GST_BIN(static_cast<GstGraph*>(graph.Get())->Pipeline())), 2);
    EXPECT_EQ(graph->RemoveFilter(free.Get()), S_OK);
    EXPECT_EQ(graph->RemoveFilter(microphone.Get()), S_OK);
}

// The program's size probe: every camera in turn joins a scratch graph as "Capture", its first
// output pin's types are read, and it leaves again.
TEST_F(CameraFilterTest, ScratchGraphProbeSeesEachCamerasOwnSizes) {
    ComPtr<IGraphBuilder> scratch = NewGraph();
    std::vector<std::pair<std::wstring, std::vector<std::pair<int, int>>>> probed;
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(m_devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    ComPtr<IMoniker> moniker;
    while (monikers->Next(moniker) == S_OK) {
        ComPtr<IPropertyBag> bag;
        std::wstring name;
        ASSERT_EQ(moniker->BindToStorage(bag), S_OK);
        ASSERT_EQ(bag->Read(L"FriendlyName", name), S_OK);
        ComPtr<IBaseFilter> filter;
        ASSERT_EQ(moniker->BindToObject(filter), S_OK);
        std::vector<std::pair<int, int>> sizes;
        if (SUCCEEDED(scratch->AddFilter(filter.Get(), L"Capture"))) {
            ComPtr<IPin> out = FirstOutputPin(*filter);
            if (out) sizes = PinSizes(*out);
        }
        (void)scratch->RemoveFilter(filter.Get());
        probed.emplace_back(name, sizes);
    }
    using Sizes = std::vector<std::pair<int, int>>;
    EXPECT_EQ(probed, (std::vector<std::pair<std::wstring, Sizes>>{
                          {L"Test Camera", {{352, 288}, {640, 480}, {1280, 1024}}},
                          {L"Busy Camera", {}},  // cannot join, so nothing is read
                      }));
}

TEST_F(CameraFilterTest, TheSameCameraMayJoinASecondGraphOfThisProcess) {
    // The program probes every camera in a scratch graph while the preview runs on one of them.
    ComPtr<IGraphBuilder> preview = NewGraph();
    ComPtr<IGraphBuilder> scratch = NewGraph();
    ComPtr<IBaseFilter> first = Camera(L"Test Camera");
    ComPtr<IBaseFilter> second = Camera(L"Test Camera");
    EXPECT_EQ(preview->AddFilter(first.Get(), L"Cap"), S_OK);
    EXPECT_EQ(scratch->AddFilter(second.Get(), L"Capture"), S_OK);
    EXPECT_EQ(scratch->RemoveFilter(second.Get()), S_OK);
    EXPECT_EQ(preview->RemoveFilter(first.Get()), S_OK);
}

TEST_F(CameraFilterTest, FormatStartsAtTheFirstSizeAndRefusesSizesTheDeviceLacks) {
    ComPtr<IBaseFilter> camera = Camera(L"Test Camera");
    ASSERT_TRUE(camera);
    ComPtr<IAMStreamConfig> config = StreamConfigOf(*camera);
    ASSERT_TRUE(config);
    AM_MEDIA_TYPE current;
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(current.majortype, MEDIATYPE_Video);
    EXPECT_EQ(current.subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(current.formattype, FORMAT_VideoInfo);
    EXPECT_EQ(SizeOf(current), (std::pair{352, 288}));
    EXPECT_EQ(ReadVideoInfo(current)->bmiHeader.biBitCount, 16);

    for (auto [width, height] : {std::pair{720, 480}, std::pair{640, 481}, std::pair{0, 0}})
        EXPECT_FALSE(SUCCEEDED(RequestSize(*config, width, height))) << width << "x" << height;
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(SizeOf(current), (std::pair{352, 288}));

    EXPECT_EQ(RequestSize(*config, 1280, 1024), S_OK);
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(SizeOf(current), (std::pair{1280, 1024}));

    // The test camera lists no RGB24, so that type is the program's "current format, resized":
    // taken for its size, the format left to the device.
    AM_MEDIA_TYPE rgb = current;
    rgb.subtype = MEDIASUBTYPE_RGB24;
    auto vih = *ReadVideoInfo(rgb);
    vih.bmiHeader.biWidth = 640;
    vih.bmiHeader.biHeight = 480;
    WriteVideoInfo(rgb, vih);
    EXPECT_EQ(config->SetFormat(rgb), S_OK);
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(current.subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(SizeOf(current), (std::pair{640, 480}));
}

TEST_F(CameraFilterTest, PlaysAtTheSizeSetAndRefusesChangesWhilePlaying) {
    ComPtr<IBaseFilter> camera = Camera(L"Test Camera");
    ComPtr<IAMStreamConfig> config = StreamConfigOf(*camera);
    ASSERT_TRUE(config);
    ASSERT_EQ(RequestSize(*config, 640, 480), S_OK);
    {
        Player player(*camera);
        CapsPtr caps = player.NegotiatedCaps();
        ASSERT_TRUE(caps);
        const GstStructure* s = gst_caps_get_structure(caps.get(), 0);
        EXPECT_TRUE(gst_structure_has_name(s, "video/x-raw"));
        EXPECT_EQ(CapsSize(caps.get()), (std::pair{640, 480}));
        // What the device lists, not whatever the source would make by itself.
        EXPECT_STREQ(gst_structure_get_string(s, "format"), "YUY2");
        int num = 0;
        int den = 0;
        EXPECT_TRUE(gst_structure_get_fraction(s, "framerate", &num, &den));
        EXPECT_EQ(num * 1.0 / den, 30.0);
        EXPECT_EQ(RequestSize(*config, 1280, 1024), VFW_E_NOT_STOPPED);
    }

    ASSERT_EQ(RequestSize(*config, 1280, 1024), S_OK);
    Player player(*camera);
    CapsPtr caps = player.NegotiatedCaps();
    ASSERT_TRUE(caps);
    EXPECT_EQ(CapsSize(caps.get()), (std::pair{1280, 1024}));
}

TEST_F(CameraFilterTest, CameraOffersItsSettingsPageMicrophoneNone) {
    ComPtr<IBaseFilter> camera = Camera(L"Test Camera");
    ComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(camera.As(pages), S_OK);
    std::vector<GUID> ids;
    EXPECT_EQ(pages->GetPages(ids), S_OK);
    EXPECT_EQ(ids, (std::vector<GUID>{platform::gst::CLSID_CameraSettingsPage}));

    CameraFilter* filter = CameraFilter::From(camera.Get());
    ASSERT_TRUE(filter);
    gint pattern = -1;
    g_object_get(filter->SourceElement(), "pattern", &pattern, nullptr);
    GEnumValue* value = g_enum_get_value(
        G_ENUM_CLASS(g_type_class_peek(G_PARAM_SPEC_VALUE_TYPE(
            g_object_class_find_property(G_OBJECT_GET_CLASS(filter->SourceElement()), "pattern")))),
        pattern);
    ASSERT_TRUE(value);
    EXPECT_STREQ(value->value_nick, "ball");
    gboolean live = FALSE;
    g_object_get(filter->SourceElement(), "is-live", &live, nullptr);
    EXPECT_TRUE(live);

    ComPtr<IBaseFilter> microphone = Microphone(L"Test Microphone");
    EXPECT_FALSE(CameraFilter::From(microphone.Get()));
    EXPECT_EQ(microphone.As(pages), E_NOINTERFACE);
}

TEST_F(CameraFilterTest, MicrophoneGivesLiveRawAudio) {
    ComPtr<IBaseFilter> microphone = Microphone(L"Test Microphone");
    ASSERT_TRUE(microphone);
    ComPtr<IPin> out = FirstOutputPin(*microphone);
    ASSERT_TRUE(out);
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(out->EnumMediaTypes(types), S_OK);
    std::vector<AM_MEDIA_TYPE> all;
    (void)types->Next(10, all);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].majortype, MEDIATYPE_Audio);
    EXPECT_EQ(all[0].subtype, MEDIASUBTYPE_PCM);
    ComPtr<IAMStreamConfig> config;
    EXPECT_EQ(out.As(config), E_NOINTERFACE);

    Player player(*microphone);
    CapsPtr caps = player.NegotiatedCaps();
    ASSERT_TRUE(caps);
    EXPECT_TRUE(gst_structure_has_name(gst_caps_get_structure(caps.get(), 0), "audio/x-raw"));
}

}  // namespace
}  // namespace vistrel::test
