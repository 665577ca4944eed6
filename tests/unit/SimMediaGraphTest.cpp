// The sim's filter graph: names, connection rules and records, the capture graph builder, run
// states on the virtual clock, the video window and the release of a graph.
#include <gtest/gtest.h>

#include "SimGraph.h"
#include "SimMediaFixture.h"

using namespace platform::sim;
using How = SimConnection::How;

namespace {

class SimMediaGraphTest : public SimMediaTest {
protected:
    SimMediaGraphTest() {
        Media().AddCamera(L"Cam", {{352, 288}, {640, 480}});
        Media().SetEffectFilterRegistered(true);
    }

    uint64_t Now() { return Sim().Clock().Now(); }

    // The preview chain as the program joins it: camera, effect, Smart Tee (preview output),
    // grabber, renderer.
    struct Preview {
        ComPtr<IGraphBuilder> graph;
        ComPtr<IBaseFilter> cam, effect, tee, grabber, renderer;
    };
    Preview BuildPreview() {
        Preview p{Graph(), Camera(L"Cam"), Bind(CLSID_LegacyAmFilterCategory, L"Video Effect Filter"),
                  Filter(CLSID_SmartTee), Filter(CLSID_SampleGrabber), Filter(CLSID_VideoRenderer)};
        EXPECT_EQ(p.graph->AddFilter(p.cam.Get(), L"Cap"), S_OK);
        EXPECT_EQ(p.graph->AddFilter(p.effect.Get(), L"Video Effect"), S_OK);
        EXPECT_EQ(p.graph->ConnectDirect(Out(p.cam).Get(), In(p.effect).Get(), nullptr), S_OK);
        EXPECT_EQ(p.graph->AddFilter(p.tee.Get(), L"Smart Tee1"), S_OK);
        EXPECT_EQ(p.graph->Connect(Out(p.effect).Get(), In(p.tee).Get()), S_OK);
        EXPECT_EQ(p.graph->AddFilter(p.grabber.Get(), L"Grabber"), S_OK);
        EXPECT_EQ(p.graph->Connect(Out(p.tee, 1).Get(), In(p.grabber).Get()), S_OK);
        EXPECT_EQ(p.graph->AddFilter(p.renderer.Get(), L"Video Renderer"), S_OK);
        EXPECT_EQ(p.graph->Connect(Out(p.grabber).Get(), In(p.renderer).Get()), S_OK);
        return p;
    }
};

}  // namespace

TEST_F(SimMediaGraphTest, RecordsFiltersByNameAndEveryConnectionWithHowItWasMade) {
    Preview p = BuildPreview();
    SimGraphRecord& record = *Media().LastGraph();
    EXPECT_EQ(record.FilterNames(),
              (std::vector<std::wstring>{L"Cap", L"Video Effect", L"Smart Tee1", L"Grabber", L"Video Renderer"}));
    EXPECT_EQ(record.connections, (std::vector<SimConnection>{{L"Cap", 0, L"Video Effect", 0, How::Direct},
                                                              {L"Video Effect", 0, L"Smart Tee1", 0, How::Intelligent},
                                                              {L"Smart Tee1", 1, L"Grabber", 0, How::Intelligent},
                                                              {L"Grabber", 0, L"Video Renderer", 0, How::Intelligent}}));
    EXPECT_EQ(record.ConnectionFrom(L"Smart Tee1", 0), nullptr);  // capture output left free

    const auto& log = Media().Log();
    const auto at = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) - log.begin(); };
    EXPECT_LT(at("AddFilter Cap"), at("Connect Cap:0->Video Effect:0 direct"));
    EXPECT_LT(at("Connect Video Effect:0->Smart Tee1:0 intelligent"), at("Connect Smart Tee1:1->Grabber:0 intelligent"));
    EXPECT_LT(at("Connect Smart Tee1:1->Grabber:0 intelligent"), static_cast<long>(log.size()));

    ComPtr<IBaseFilter> found;
    EXPECT_EQ(p.graph->FindFilterByName(L"Smart Tee1", found), S_OK);
    EXPECT_EQ(found.Get(), p.tee.Get());
    EXPECT_EQ(p.graph->FindFilterByName(L"Smart Tee2", found), VFW_E_NOT_FOUND);
    EXPECT_FALSE(found);
    std::wstring name;
    EXPECT_EQ(p.grabber->QueryFilterInfo(name), S_OK);
    EXPECT_EQ(name, L"Grabber");
    ComPtr<IPin> peer;
    EXPECT_EQ(Out(p.tee, 0)->ConnectedTo(peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(Out(p.tee, 1)->ConnectedTo(peer), S_OK);
    EXPECT_EQ(peer.Get(), In(p.grabber).Get());
}

TEST_F(SimMediaGraphTest, NamesAreUniqueAndRemovingAFilterDropsItsConnections) {
    Preview p = BuildPreview();
    EXPECT_EQ(p.graph->AddFilter(Filter(CLSID_SmartTee).Get(), L"Grabber"), VFW_E_DUPLICATE_NAME);
    ComPtr<IGraphBuilder> other = Graph();
    EXPECT_TRUE(FAILED(other->AddFilter(p.tee.Get(), L"Tee")));  // a filter is in one graph at a time
    EXPECT_EQ(p.graph->AddFilter(nullptr, L"X"), E_POINTER);

    EXPECT_EQ(p.graph->RemoveFilter(p.grabber.Get()), S_OK);
    SimGraphRecord& record = *Media().Graphs()[0];
    EXPECT_EQ(record.FilterNames(), (std::vector<std::wstring>{L"Cap", L"Video Effect", L"Smart Tee1", L"Video Renderer"}));
    EXPECT_EQ(record.connections.size(), 2u);
    ComPtr<IPin> peer;
    EXPECT_EQ(In(p.renderer)->ConnectedTo(peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(Out(p.tee, 1)->ConnectedTo(peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(p.graph->RemoveFilter(p.grabber.Get()), VFW_E_NOT_FOUND);
    EXPECT_EQ(other->AddFilter(p.grabber.Get(), L"Grabber"), S_OK);
}

TEST_F(SimMediaGraphTest, ConnectionRulesRefuseWhatARealGraphRefuses) {
    ComPtr<IGraphBuilder> graph = Graph();
    ComPtr<IBaseFilter> cam = Camera(L"Cam");
    ComPtr<IBaseFilter> tee = Filter(CLSID_SmartTee);
    ComPtr<IBaseFilter> renderer = Filter(CLSID_VideoRenderer);
    ASSERT_EQ(graph->AddFilter(cam.Get(), L"Cap"), S_OK);
    ASSERT_EQ(graph->AddFilter(tee.Get(), L"Tee"), S_OK);

    EXPECT_EQ(graph->Connect(nullptr, In(tee).Get()), E_POINTER);
    EXPECT_EQ(graph->ConnectDirect(Out(cam).Get(), nullptr, nullptr), E_POINTER);
    EXPECT_EQ(graph->Connect(In(tee).Get(), Out(cam).Get()), VFW_E_INVALID_DIRECTION);
    EXPECT_EQ(graph->Connect(Out(cam).Get(), In(renderer).Get()), VFW_E_NOT_IN_GRAPH);
    ASSERT_EQ(graph->AddFilter(renderer.Get(), L"Renderer"), S_OK);
    // An output whose filter has no input yet has nothing to offer.
    EXPECT_EQ(graph->Connect(Out(tee, 1).Get(), In(renderer).Get()), VFW_E_CANNOT_CONNECT);
    EXPECT_EQ(graph->Connect(Out(cam).Get(), In(tee).Get()), S_OK);
    EXPECT_EQ(graph->Connect(Out(cam).Get(), In(renderer).Get()), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(graph->Connect(Out(tee, 1).Get(), In(renderer).Get()), S_OK);

    // A microphone's audio never reaches a video input.
    Media().AddMicrophone(L"Mic");
    ComPtr<IBaseFilter> mic = Bind(CLSID_AudioInputDeviceCategory, L"Mic");
    ComPtr<IBaseFilter> renderer2 = Filter(CLSID_VideoRenderer);
    ASSERT_EQ(graph->AddFilter(mic.Get(), L"Audio Cap"), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer2.Get(), L"Renderer2"), S_OK);
    EXPECT_EQ(graph->Connect(Out(mic).Get(), In(renderer2).Get()), VFW_E_CANNOT_CONNECT);

    // Nothing is joined while the graph runs.
    ASSERT_EQ(As<IMediaControl>(graph)->Run(), S_OK);
    EXPECT_EQ(graph->Connect(Out(tee, 0).Get(), In(renderer2).Get()), VFW_E_NOT_STOPPED);
    EXPECT_EQ(Media().LastGraph()->connections.size(), 2u);
}

TEST_F(SimMediaGraphTest, YuyCameraJoinsTheEffectOnlyIntelligentlyAndArrivesAsRgb24) {
    SimCamera& cam = Media().AddCamera(L"Yuy", {{640, 480}});
    cam.rgb24 = false;
    ComPtr<IGraphBuilder> graph = Graph();
    ComPtr<IBaseFilter> camera = Camera(L"Yuy");
    ComPtr<IBaseFilter> effect = Bind(CLSID_LegacyAmFilterCategory, L"Video Effect Filter");
    ASSERT_EQ(graph->AddFilter(camera.Get(), L"Cap"), S_OK);
    ASSERT_EQ(graph->AddFilter(effect.Get(), L"Video Effect"), S_OK);
    EXPECT_EQ(graph->ConnectDirect(Out(camera).Get(), In(effect).Get(), nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(graph->Connect(Out(camera).Get(), In(effect).Get()), S_OK);
    const auto arrived = Types(Out(effect));
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(ReadVideoInfo(arrived[0])->bmiHeader.biWidth, 640);
    EXPECT_EQ(Media().LastGraph()->connections.back().how, How::Intelligent);
}

TEST_F(SimMediaGraphTest, RenderStreamJoinsSourceToSinkThroughTheIntermediate) {
    ComPtr<IGraphBuilder> graph = Graph();
    ComPtr<IBaseFilter> cam = Camera(L"Cam");
    ComPtr<IBaseFilter> tee = Filter(CLSID_SmartTee);
    ComPtr<IBaseFilter> renderer = Filter(CLSID_VideoRenderer);
    ASSERT_EQ(graph->AddFilter(cam.Get(), L"Cap"), S_OK);
    ASSERT_EQ(graph->AddFilter(tee.Get(), L"Tee"), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer.Get(), L"Renderer"), S_OK);
    auto builder = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
    ComPtr<IUnknown> source;
    ASSERT_EQ(cam.As(source), S_OK);

    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.Get(), nullptr, renderer.Get()),
              E_UNEXPECTED);  // no graph given yet
    Media().Fail("SetFiltergraph");
    EXPECT_EQ(builder->SetFiltergraph(graph.Get()), E_FAIL);
    ASSERT_EQ(builder->SetFiltergraph(graph.Get()), S_OK);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, source.Get(), nullptr, renderer.Get()),
              VFW_E_NOT_FOUND);
    Media().Fail("RenderStream", E_OUTOFMEMORY);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.Get(), tee.Get(), renderer.Get()),
              E_OUTOFMEMORY);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.Get(), tee.Get(), renderer.Get()),
              S_OK);
    EXPECT_EQ(Media().LastGraph()->connections, (std::vector<SimConnection>{{L"Cap", 0, L"Tee", 0, How::Render},
                                                                             {L"Tee", 0, L"Renderer", 0, How::Render}}));
}

TEST_F(SimMediaGraphTest, ConnectSwitchesAreKeyedByFilterNamesAndKind) {
    Media().Fail("ConnectDirect:Cap->Video Effect", VFW_E_CANNOT_CONNECT);
    Media().Fail("Connect:Smart Tee1->Grabber", E_FAIL, -1);
    ComPtr<IGraphBuilder> graph = Graph();
    ComPtr<IBaseFilter> cam = Camera(L"Cam");
    ComPtr<IBaseFilter> effect = Bind(CLSID_LegacyAmFilterCategory, L"Video Effect Filter");
    ComPtr<IBaseFilter> tee = Filter(CLSID_SmartTee);
    ComPtr<IBaseFilter> grabber = Filter(CLSID_SampleGrabber);
    ASSERT_EQ(graph->AddFilter(cam.Get(), L"Cap"), S_OK);
    ASSERT_EQ(graph->AddFilter(effect.Get(), L"Video Effect"), S_OK);
    ASSERT_EQ(graph->AddFilter(tee.Get(), L"Smart Tee1"), S_OK);
    ASSERT_EQ(graph->AddFilter(grabber.Get(), L"Grabber"), S_OK);
    EXPECT_EQ(graph->ConnectDirect(Out(cam).Get(), In(effect).Get(), nullptr), VFW_E_CANNOT_CONNECT);
    EXPECT_EQ(graph->Connect(Out(cam).Get(), In(effect).Get()), S_OK);  // the other way still works
    EXPECT_EQ(graph->Connect(Out(effect).Get(), In(tee).Get()), S_OK);
    EXPECT_EQ(graph->Connect(Out(tee, 1).Get(), In(grabber).Get()), E_FAIL);
    EXPECT_EQ(graph->Connect(Out(tee, 1).Get(), In(grabber).Get()), E_FAIL);
    EXPECT_EQ(Media().Attempts("Connect:Smart Tee1->Grabber"), 2);
    EXPECT_NE(std::find(Media().Log().begin(), Media().Log().end(),
                        "Connect Cap:0->Video Effect:0 direct failed " + SimHex(VFW_E_CANNOT_CONNECT)),
              Media().Log().end());
}

TEST_F(SimMediaGraphTest, StateChangesAreRecordedOnTheVirtualClock) {
    Preview p = BuildPreview();
    auto control = As<IMediaControl>(p.graph);
    FILTER_STATE state;
    EXPECT_EQ(control->GetState(0, state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    const uint64_t start = Now();
    EXPECT_EQ(control->Run(), S_OK);
    EXPECT_EQ(control->GetState(INFINITE, state), S_OK);
    EXPECT_EQ(state, State_Running);
    Sim().Clock().Sleep(40);
    Media().Fail("Stop", E_UNEXPECTED);
    EXPECT_EQ(control->Stop(), E_UNEXPECTED);
    EXPECT_EQ(control->GetState(0, state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(control->Stop(), S_OK);
    const auto& changes = Media().LastGraph()->stateChanges;
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].requested, State_Running);
    EXPECT_EQ(changes[0].at, start);
    EXPECT_EQ(changes[1].result, E_UNEXPECTED);
    EXPECT_EQ(changes[2].requested, State_Stopped);
    EXPECT_EQ(changes[2].at, start + 40);
    EXPECT_EQ(Now(), start + 40);  // nothing waited
}

TEST_F(SimMediaGraphTest, SlowStateChangeSettlesAfterItsDelay) {
    Preview p = BuildPreview();
    auto control = As<IMediaControl>(p.graph);
    Media().SetStateChangeDelay(300);
    const uint64_t start = Now();
    EXPECT_EQ(control->Run(), S_FALSE);  // under way
    FILTER_STATE state;
    EXPECT_EQ(control->GetState(50, state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(Now(), start + 50);
    EXPECT_EQ(control->GetState(INFINITE, state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(Now(), start + 300);

    EXPECT_EQ(control->Stop(), S_FALSE);
    Sim().Clock().Sleep(299);
    EXPECT_EQ(control->GetState(0, state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(control->GetState(1000, state), S_OK);  // waits only the 1 ms left
    EXPECT_EQ(state, State_Stopped);
    EXPECT_EQ(Now(), start + 300 + 300);
}

TEST_F(SimMediaGraphTest, StopThatNeverSettlesKeepsTheOldStateAndBoundsInfiniteWaits) {
    Preview p = BuildPreview();
    auto control = As<IMediaControl>(p.graph);
    ASSERT_EQ(control->Run(), S_OK);
    Media().SetStopNeverSettles(true);
    ASSERT_EQ(control->Stop(), S_FALSE);
    const uint64_t start = Now();
    FILTER_STATE state;
    EXPECT_EQ(control->GetState(50, state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(Now(), start + 50);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(control->GetState(INFINITE, state), VFW_S_STATE_INTERMEDIATE);
        EXPECT_EQ(state, State_Running);
    }
    EXPECT_EQ(Now(), start + 50 + 3 * kSimUnsettledWaitMs);
    EXPECT_EQ(Media().LastGraph()->unsettledInfiniteWaits, 3);

    Media().SetStopNeverSettles(false);
    EXPECT_EQ(control->GetState(INFINITE, state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

TEST_F(SimMediaGraphTest, VideoWindowNeedsAConnectedRendererAndKeepsItsHistory) {
    ComPtr<IGraphBuilder> empty = Graph();
    EXPECT_EQ(As<IVideoWindow>(empty)->put_Visible(false), E_NOINTERFACE);
    ComPtr<IBaseFilter> lonely = Filter(CLSID_VideoRenderer);
    ASSERT_EQ(empty->AddFilter(lonely.Get(), L"Video Renderer"), S_OK);
    EXPECT_EQ(As<IVideoWindow>(empty)->put_Visible(false), VFW_E_NOT_CONNECTED);
    EXPECT_TRUE(Media().LastGraph()->windowChanges.empty());

    Preview p = BuildPreview();
    auto window = As<IVideoWindow>(p.graph);
    const int32_t style = WS_CHILD_STYLE | WS_CLIPSIBLINGS_STYLE | WS_BORDER_STYLE;
    EXPECT_EQ(window->put_Owner(platform::WindowHandle{42}), S_OK);
    EXPECT_EQ(window->put_Width(640), S_OK);
    EXPECT_EQ(window->put_Height(480), S_OK);
    EXPECT_EQ(window->put_WindowStyle(style), S_OK);
    EXPECT_EQ(window->put_Visible(true), S_OK);
    EXPECT_EQ(window->put_WindowState(SW_SHOW_STATE), S_OK);
    EXPECT_EQ(window->put_Visible(false), S_OK);
    EXPECT_EQ(window->put_Owner(platform::WindowHandle{}), S_OK);
    const SimGraphRecord& record = *Media().LastGraph();
    EXPECT_EQ(record.window.owner, platform::WindowHandle{});
    EXPECT_EQ(record.window.width, 640);
    EXPECT_EQ(record.window.style, 0x44800000);
    EXPECT_FALSE(record.window.visible);
    EXPECT_EQ(record.window.state, SW_SHOW_STATE);
    ASSERT_EQ(record.windowChanges.size(), 8u);
    EXPECT_EQ(record.windowChanges[4], (SimWindowChange{"Visible", 1}));
    EXPECT_EQ(record.windowChanges[7], (SimWindowChange{"Owner", 0}));
}

TEST_F(SimMediaGraphTest, ReleasedGraphIsMarkedAndLetsItsFiltersGo) {
    {
        Preview p = BuildPreview();
        ASSERT_EQ(As<IMediaControl>(p.graph)->Run(), S_OK);
        EXPECT_FALSE(Media().LastGraph()->IsReleased());
        EXPECT_EQ(Media().LiveGraphCount(), 1);
        ComPtr<IGraphBuilder> extra = p.graph;  // one more reference: still alive after p goes
        p = Preview{};
        EXPECT_FALSE(Media().LastGraph()->IsReleased());
    }
    const SimGraphRecord& first = *Media().Graphs()[0];
    EXPECT_TRUE(first.IsReleased());
    EXPECT_EQ(Media().LiveGraphCount(), 0);
    EXPECT_EQ(first.FilterNames().size(), 5u);  // the last contents stay readable
    EXPECT_EQ(Media().Log().back(), "ReleaseGraph");
    std::wstring name = L"?";
    EXPECT_EQ(first.Filter(L"Cap")->QueryFilterInfo(name), S_OK);
    EXPECT_EQ(name, L"");  // out of any graph

    // The camera is free for the next graph.
    Preview again = BuildPreview();
    EXPECT_EQ(Media().Graphs().size(), 2u);
    EXPECT_EQ(Media().LastGraph()->connections.size(), 4u);
}
