// The graph as a builder: names, connections as they are, with a type, through converters,
// what each pin says it is connected to, removal, the capture graph builder, and a graph whose
// start fails.
#include <gtest/gtest.h>

#include "GraphTestSupport.h"
#include "GstFilter.h"
#include "GstGraph.h"
#include "GstPin.h"
#include "platform/Strings.h"

using namespace graphtest;
using platform::gst::AsGstFilter;
using platform::gst::GstFilter;

namespace {

// A filter around one element, as tests need them (a caps filter admits only its caps).
ComPtr<IBaseFilter> CapsOnlyFilter(const char* caps) {
    GstElement* element = gst_element_factory_make("capsfilter", nullptr);
    GstCaps* parsed = gst_caps_from_string(caps);
    g_object_set(element, "caps", parsed, nullptr);
    gst_caps_unref(parsed);
    return ComPtr<IBaseFilter>::Adopt(new GstFilter(element));
}

int ChildCount(GstElement* pipeline) {
    return int(GST_BIN_NUMCHILDREN(GST_BIN(pipeline)));
}

GstElement* PipelineOf(IBaseFilter* filter) {
    return AsGstFilter(filter)->Graph()->Pipeline();
}

class GraphBuilder : public testing::Test {
protected:
    void SetUp() override {
        m_graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_TRUE(m_graph);
        m_camera = BindByName(CLSID_VideoInputDeviceCategory, kCamera);
        ASSERT_TRUE(m_camera);
        ASSERT_EQ(m_graph->AddFilter(m_camera.Get(), L"Cap"), S_OK);
        ASSERT_EQ(SetCameraSize(m_camera.Get(), 352, 288), S_OK);
        m_grabber = Create<IBaseFilter>(CLSID_SampleGrabber);
        ASSERT_EQ(m_graph->AddFilter(m_grabber.Get(), L"Grabber"), S_OK);
    }

    ComPtr<IGraphBuilder> m_graph;
    ComPtr<IBaseFilter> m_camera;
    ComPtr<IBaseFilter> m_grabber;
};

TEST_F(GraphBuilder, NamesAreUniqueAndFindable) {
    auto tee = Create<IBaseFilter>(CLSID_SmartTee);
    EXPECT_EQ(m_graph->AddFilter(tee.Get(), L"Grabber"), VFW_E_DUPLICATE_NAME);
    EXPECT_EQ(m_graph->AddFilter(tee.Get(), L"Smart Tee1"), S_OK);
    ComPtr<IBaseFilter> found;
    EXPECT_EQ(m_graph->FindFilterByName(L"Smart Tee1", found), S_OK);
    EXPECT_TRUE(found == tee);
    std::wstring name;
    EXPECT_EQ(found->QueryFilterInfo(name), S_OK);
    EXPECT_EQ(name, L"Smart Tee1");
    EXPECT_EQ(m_graph->FindFilterByName(L"Smart Tee2", found), VFW_E_NOT_FOUND);
    EXPECT_FALSE(found);

    EXPECT_EQ(m_graph->RemoveFilter(tee.Get()), S_OK);
    EXPECT_EQ(m_graph->FindFilterByName(L"Smart Tee1", found), VFW_E_NOT_FOUND);
    EXPECT_EQ(tee->QueryFilterInfo(name), S_OK);
    EXPECT_EQ(name, L"");
    EXPECT_EQ(m_graph->RemoveFilter(tee.Get()), VFW_E_NOT_FOUND);
}

TEST_F(GraphBuilder, PinsComeInputsFirstWithTheirMediaTypes) {
    auto tee = Create<IBaseFilter>(CLSID_SmartTee);
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(tee->EnumPins(pins), S_OK);
    std::vector<PIN_DIRECTION> directions;
    ComPtr<IPin> pin;
    while (pins->Next(pin) == S_OK) {
        PIN_DIRECTION d;
        EXPECT_EQ(pin->QueryDirection(d), S_OK);
        directions.push_back(d);
    }
    EXPECT_EQ(directions, (std::vector<PIN_DIRECTION>{PINDIR_INPUT, PINDIR_OUTPUT, PINDIR_OUTPUT}));
    EXPECT_EQ(pins->Next(pin), S_FALSE);
    EXPECT_FALSE(pin);

    // The grabber's output offers 24-bit frames whatever it is fed.
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(GetPin(m_grabber.Get(), PINDIR_OUTPUT, 0)->EnumMediaTypes(types), S_OK);
    std::vector<AM_MEDIA_TYPE> list;
    EXPECT_EQ(types->Next(100, list), S_FALSE);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0].majortype, MEDIATYPE_Video);
    EXPECT_EQ(list[0].subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(ReadVideoInfo(list[0])->bmiHeader.biBitCount, 24);
}

TEST_F(GraphBuilder, DirectConnectionTakesTheTypeOrRefusesIt) {
    ComPtr<IPin> out = GetPin(m_camera.Get(), PINDIR_OUTPUT, 0);
    ComPtr<IPin> in = GetPin(m_grabber.Get(), PINDIR_INPUT, 0);
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    VIDEOINFOHEADER vih;
    vih.bmiHeader.biWidth = 640;  // the camera is set to 352 x 288
    vih.bmiHeader.biHeight = 480;
    WriteVideoInfo(type, vih);
    EXPECT_EQ(m_graph->ConnectDirect(out.Get(), in.Get(), &type), VFW_E_NO_ACCEPTABLE_TYPES);
    ComPtr<IPin> other;
    EXPECT_EQ(out->ConnectedTo(other), VFW_E_NOT_CONNECTED);

    vih.bmiHeader.biWidth = 352;
    vih.bmiHeader.biHeight = 288;
    WriteVideoInfo(type, vih);
    EXPECT_EQ(m_graph->ConnectDirect(out.Get(), in.Get(), &type), S_OK);
    ASSERT_EQ(out->ConnectedTo(other), S_OK);
    EXPECT_EQ(&platform::gst::AsGstPin(other.Get())->Filter(), AsGstFilter(m_grabber.Get()));
    PIN_DIRECTION direction;
    EXPECT_EQ(other->QueryDirection(direction), S_OK);
    EXPECT_EQ(direction, PINDIR_INPUT);
    EXPECT_EQ(m_graph->ConnectDirect(out.Get(), in.Get(), nullptr), VFW_E_ALREADY_CONNECTED);

    ComPtr<ISampleGrabber> grabber;
    ASSERT_EQ(m_grabber.As(grabber), S_OK);
    AM_MEDIA_TYPE connected;
    ASSERT_EQ(grabber->GetConnectedMediaType(connected), S_OK);
    EXPECT_EQ(ReadVideoInfo(connected)->bmiHeader.biWidth, 352);
}

TEST_F(GraphBuilder, IntelligentConnectPutsAConverterBetweenUnlikeFormats) {
    // The grabber gives BGR; this filter takes I420 only.
    ComPtr<IBaseFilter> i420 = CapsOnlyFilter("video/x-raw,format=I420");
    ASSERT_EQ(m_graph->AddFilter(i420.Get(), L"I420 only"), S_OK);
    ComPtr<IPin> out = GetPin(m_grabber.Get(), PINDIR_OUTPUT, 0);
    ComPtr<IPin> in = GetPin(i420.Get(), PINDIR_INPUT, 0);
    GstElement* pipeline = PipelineOf(m_grabber.Get());
    const int before = ChildCount(pipeline);
    EXPECT_EQ(m_graph->ConnectDirect(out.Get(), in.Get(), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(ChildCount(pipeline), before);
    EXPECT_EQ(m_graph->Connect(out.Get(), in.Get()), S_OK);
    EXPECT_GT(ChildCount(pipeline), before);  // the converters, which are no filters of the graph

    // Each end names the other, not the converter between them.
    ComPtr<IPin> other;
    ASSERT_EQ(in->ConnectedTo(other), S_OK);
    auto* pin = platform::gst::AsGstPin(other.Get());
    ASSERT_NE(pin, nullptr);
    EXPECT_EQ(&pin->Filter(), AsGstFilter(m_grabber.Get()));

    // Taking a filter out takes its connections and their converters with it.
    EXPECT_EQ(m_graph->RemoveFilter(i420.Get()), S_OK);
    EXPECT_EQ(ChildCount(pipeline), before - 1);
    EXPECT_EQ(out->ConnectedTo(other), VFW_E_NOT_CONNECTED);
    EXPECT_FALSE(gst_pad_is_linked(AsGstFilter(m_grabber.Get())->PinPad(PINDIR_OUTPUT, 0)));
}

TEST_F(GraphBuilder, SoundDoesNotConnectToPictures) {
    ComPtr<IBaseFilter> microphone = BindByName(CLSID_AudioInputDeviceCategory, kMicrophone);
    ASSERT_TRUE(microphone);
    ASSERT_EQ(m_graph->AddFilter(microphone.Get(), L"Audio Cap"), S_OK);
    ComPtr<IPin> out = GetPin(microphone.Get(), PINDIR_OUTPUT, 0);
    ComPtr<IPin> in = GetPin(m_grabber.Get(), PINDIR_INPUT, 0);
    EXPECT_EQ(m_graph->ConnectDirect(out.Get(), in.Get(), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(m_graph->Connect(out.Get(), in.Get()), VFW_E_CANNOT_CONNECT);
    // Wrong way round.
    EXPECT_EQ(m_graph->Connect(in.Get(), out.Get()), E_INVALIDARG);
}

TEST_F(GraphBuilder, CaptureGraphBuilderRendersTheCameraThroughAnIntermediate) {
    auto builder = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
    ASSERT_TRUE(builder);
    auto tee = Create<IBaseFilter>(CLSID_SmartTee);
    ASSERT_EQ(m_graph->AddFilter(tee.Get(), L"Smart Tee1"), S_OK);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_camera.Get(), tee.Get(), m_grabber.Get()),
              E_UNEXPECTED);
    ASSERT_EQ(builder->SetFiltergraph(m_graph.Get()), S_OK);
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_camera.Get(), tee.Get(), m_grabber.Get()),
              S_OK);
    ComPtr<IPin> other;
    ASSERT_EQ(GetPin(m_camera.Get(), PINDIR_OUTPUT, 0)->ConnectedTo(other), S_OK);
    EXPECT_EQ(&platform::gst::AsGstPin(other.Get())->Filter(), AsGstFilter(tee.Get()));
    ASSERT_EQ(GetPin(m_grabber.Get(), PINDIR_INPUT, 0)->ConnectedTo(other), S_OK);
    EXPECT_EQ(&platform::gst::AsGstPin(other.Get())->Filter(), AsGstFilter(tee.Get()));
    EXPECT_EQ(platform::gst::AsGstPin(other.Get())->Index(), 0);  // the capture output
}

TEST_F(GraphBuilder, AWriterThatCannotOpenItsFileFailsTheRunUntilStopped) {
    ComPtr<IMediaControl> control;
    ASSERT_EQ(m_graph.As(control), S_OK);
    auto writer = Create<IBaseFilter>(CLSID_WMAsfWriter);
    ASSERT_EQ(m_graph->AddFilter(writer.Get(), L"ASF Writer"), S_OK);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer.As(sink), S_OK);
    ASSERT_EQ(sink->SetFileName(platform::FromUtf8(TempPath("no-such-folder/x.asf")), nullptr), S_OK);
    ASSERT_EQ(m_graph->Connect(GetPin(m_camera.Get(), PINDIR_OUTPUT, 0).Get(), GetPin(writer.Get(), PINDIR_INPUT, 1).Get()),
              S_OK);
    EXPECT_EQ(control->Run(), E_FAIL);
    FILTER_STATE state = State_Running;
    EXPECT_EQ(control->GetState(INFINITE, state), E_FAIL);
    EXPECT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(control->GetState(0, state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

TEST(Media, CreatesItsClassesAndRefusesOthers) {
    void* object = nullptr;
    EXPECT_EQ(Media().CreateInstance(GUID{1, 2, 3, {}}, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    ComPtr<IMediaControl> control;
    ComPtr<IVideoWindow> window;
    EXPECT_EQ(graph.As(control), S_OK);
    EXPECT_EQ(graph.As(window), S_OK);
    EXPECT_TRUE(Create<ICreateDevEnum>(CLSID_SystemDeviceEnum));
    EXPECT_TRUE(Create<ISampleGrabber>(CLSID_SampleGrabber));
    EXPECT_TRUE(Create<IConfigAsfWriter>(CLSID_WMAsfWriter));
    EXPECT_TRUE(Create<IBaseFilter>(CLSID_VideoRenderer));
    EXPECT_FALSE(Create<ISampleGrabber>(CLSID_SmartTee));
}

TEST(Media, GrabberTakesOnlyRgb24AndNeedsAConnection) {
    auto grabber = Create<ISampleGrabber>(CLSID_SampleGrabber);
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_YUY2;
    EXPECT_EQ(grabber->SetMediaType(type), VFW_E_TYPE_NOT_ACCEPTED);
    type.majortype = MEDIATYPE_Audio;
    type.subtype = MEDIASUBTYPE_RGB24;
    EXPECT_EQ(grabber->SetMediaType(type), VFW_E_TYPE_NOT_ACCEPTED);
    type.majortype = MEDIATYPE_Video;
    EXPECT_EQ(grabber->SetMediaType(type), S_OK);
    AM_MEDIA_TYPE connected;
    EXPECT_EQ(grabber->GetConnectedMediaType(connected), VFW_E_NOT_CONNECTED);
}

TEST(Media, EffectFilterIsListedWithOneInputOneOutputAndItsControl) {
    if (!Env().effectRegistered) GTEST_SKIP() << "effect plugin not registered";
    ComPtr<IBaseFilter> effect = BindByName(CLSID_LegacyAmFilterCategory, L"Video Effect Filter");
    ASSERT_TRUE(effect);
    EXPECT_TRUE(GetPin(effect.Get(), PINDIR_INPUT, 0));
    EXPECT_FALSE(GetPin(effect.Get(), PINDIR_INPUT, 1));
    EXPECT_TRUE(GetPin(effect.Get(), PINDIR_OUTPUT, 0));
    EXPECT_FALSE(GetPin(effect.Get(), PINDIR_OUTPUT, 1));
    ComPtr<IVideoEffectControl> control;
    ASSERT_EQ(effect.As(control), S_OK);
    EXPECT_EQ(control->SetMirror(4), S_OK);
    GstElement* bin = AsGstFilter(effect.Get())->Element();
    GstElement* element = nullptr;
    for (GList* l = GST_BIN_CHILDREN(GST_BIN(bin)); l; l = l->next)
        if (g_object_class_find_property(G_OBJECT_GET_CLASS(l->data), "mirror")) element = GST_ELEMENT(l->data);
    ASSERT_NE(element, nullptr);
    gint mirror = 0;
    g_object_get(element, "mirror", &mirror, nullptr);
    EXPECT_EQ(mirror, 4);
}

TEST(Media, PcmIsTheAudioCompressor) {
    ComPtr<IBaseFilter> pcm = BindByName(CLSID_AudioCompressorCategory, L"PCM");
    ASSERT_TRUE(pcm);
    EXPECT_TRUE(GetPin(pcm.Get(), PINDIR_INPUT, 0));
    EXPECT_TRUE(GetPin(pcm.Get(), PINDIR_OUTPUT, 0));
}

}  // namespace
