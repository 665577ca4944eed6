// The sim's profile manager and ASF writer: the failure switches, the writer's pins and
// recorded configuration, and the file a running writer leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "SimMediaFixture.h"
#include "TempFolder.h"

using namespace platform::sim;

namespace {

class SimMediaAsfTest : public SimMediaTest {
protected:
    ComPtr<IWMProfile> LoadProfile() {
        ComPtr<IWMProfileManager> manager;
        EXPECT_EQ(Media().CreateProfileManager(manager), S_OK);
        ComPtr<IWMProfile> profile;
        EXPECT_EQ(manager->LoadProfileByID(WMProfile_V80_384Video, profile), S_OK);
        return profile;
    }

    static ComPtr<IWMStreamConfig> Stream(const ComPtr<IWMProfile>& profile, uint32_t index) {
        ComPtr<IWMStreamConfig> stream;
        EXPECT_EQ(profile->GetStream(index, stream), S_OK);
        return stream;
    }

    static std::vector<GUID> InputMajors(const ComPtr<IBaseFilter>& writer) {
        std::vector<GUID> majors;
        for (int i = 0; ComPtr<IPin> pin = In(writer, i); ++i) majors.push_back(dynamic_cast<SimPin*>(pin.Get())->Major());
        return majors;
    }
};

}  // namespace

// The profile objects themselves are shared with the real backend and tested there; the sim
// adds its failure switches.
TEST_F(SimMediaAsfTest, ProfileManagerLoadsTheSystemProfileUnlessSwitchedToFail) {
    ComPtr<IWMProfile> profile = LoadProfile();
    uint32_t count = 0;
    ASSERT_TRUE(profile);
    ASSERT_EQ(profile->GetStreamCount(count), S_OK);
    EXPECT_EQ(count, 2u);

    ComPtr<IWMProfileManager> manager;
    ASSERT_EQ(Media().CreateProfileManager(manager), S_OK);
    Media().Fail("LoadProfileByID", E_OUTOFMEMORY);
    EXPECT_EQ(manager->LoadProfileByID(WMProfile_V80_384Video, profile), E_OUTOFMEMORY);
    EXPECT_FALSE(profile);
    EXPECT_EQ(manager->LoadProfileByID(WMProfile_V80_384Video, profile), S_OK);

    Media().Fail("CreateProfileManager");
    EXPECT_EQ(Media().CreateProfileManager(manager), E_FAIL);
    EXPECT_FALSE(manager);
}

TEST_F(SimMediaAsfTest, WriterPinsFollowTheProfileAndItsConfigurationIsRecorded) {
    ComPtr<IBaseFilter> writer = Filter(CLSID_WMAsfWriter);
    EXPECT_EQ(InputMajors(writer), (std::vector<GUID>{MEDIATYPE_Audio, MEDIATYPE_Video}));
    EXPECT_FALSE(Out(writer));

    // The edits of a recorder: size 352 x 288 into the video format block, key frames, quality.
    ComPtr<IWMProfile> profile = LoadProfile();
    ComPtr<IWMStreamConfig> video = Stream(profile, 1);
    ComPtr<IWMVideoMediaProps> props;
    ASSERT_EQ(video.As(props), S_OK);
    uint32_t size = 0;
    ASSERT_EQ(props->GetMediaType(nullptr, size), S_OK);
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(props->GetMediaType(&mt, size), S_OK);
    auto vih = *ReadVideoInfo(mt);
    vih.rcSource = {0, 0, 352, 288};
    vih.rcTarget = {0, 0, 352, 288};
    vih.bmiHeader.biWidth = 352;
    vih.bmiHeader.biHeight = 288;
    WriteVideoInfo(mt, vih);
    ASSERT_EQ(props->SetMediaType(mt), S_OK);
    ASSERT_EQ(props->SetMaxKeyFrameSpacing(70000000), S_OK);
    ASSERT_EQ(props->SetQuality(10), S_OK);
    ASSERT_EQ(profile->ReconfigStream(video.Get()), S_OK);
    ASSERT_EQ(profile->RemoveStream(Stream(profile, 0).Get()), S_OK);

    ComPtr<IConfigAsfWriter> config;
    ASSERT_EQ(writer.As(config), S_OK);
    ASSERT_EQ(config->ConfigureFilterUsingProfile(profile.Get()), S_OK);
    EXPECT_EQ(InputMajors(writer), (std::vector<GUID>{MEDIATYPE_Video}));

    auto* recorded = dynamic_cast<SimAsfWriter*>(writer.Get());
    ASSERT_TRUE(recorded && recorded->IsConfigured());
    ASSERT_EQ(recorded->Streams().size(), 1u);
    const platform::WmStream* stream = recorded->StreamOfType(WMMEDIATYPE_Video);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->VideoInfo()->rcTarget, (platform::Rect{0, 0, 352, 288}));
    EXPECT_EQ(stream->VideoInfo()->bmiHeader.biHeight, 288);
    EXPECT_EQ(stream->maxKeyFrameSpacing, 70000000);
    EXPECT_EQ(stream->quality, 10u);
    EXPECT_EQ(recorded->StreamOfType(WMMEDIATYPE_Audio), nullptr);

    // Editing the profile afterwards does not reach the writer.
    ASSERT_EQ(props->SetQuality(90), S_OK);
    ASSERT_EQ(profile->ReconfigStream(video.Get()), S_OK);
    EXPECT_EQ(recorded->StreamOfType(WMMEDIATYPE_Video)->quality, 10u);
}

TEST_F(SimMediaAsfTest, RunningAGraphWithAConfiguredWriterLeavesItsFile) {
    TempFolder folder;
    Media().AddCamera(L"Cam");
    ComPtr<IGraphBuilder> graph = Graph();
    ComPtr<IBaseFilter> cam = Camera(L"Cam");
    ComPtr<IBaseFilter> tee = Filter(CLSID_SmartTee);
    ComPtr<IBaseFilter> writer = Filter(CLSID_WMAsfWriter);
    ASSERT_EQ(graph->AddFilter(cam.Get(), L"Cap"), S_OK);
    ASSERT_EQ(graph->AddFilter(tee.Get(), L"Smart Tee1"), S_OK);
    ASSERT_EQ(graph->AddFilter(writer.Get(), L"ASF Writer"), S_OK);
    ASSERT_EQ(graph->Connect(Out(cam).Get(), In(tee).Get()), S_OK);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer.As(sink), S_OK);
    Media().Fail("SetFileName", E_ACCESSDENIED);
    EXPECT_EQ(sink->SetFileName(folder.Wide(L"VideoCap0000.asf"), nullptr), E_ACCESSDENIED);
    ASSERT_EQ(sink->SetFileName(folder.Wide(L"VideoCap0000.asf"), nullptr), S_OK);
    ComPtr<IConfigAsfWriter> config;
    ASSERT_EQ(writer.As(config), S_OK);
    ASSERT_EQ(config->ConfigureFilterUsingProfile(LoadProfile().Get()), S_OK);
    // Audio on input 0: the video branch belongs on input 1.
    EXPECT_EQ(graph->Connect(Out(tee, 0).Get(), In(writer, 0).Get()), VFW_E_CANNOT_CONNECT);
    ASSERT_EQ(graph->Connect(Out(tee, 0).Get(), In(writer, 1).Get()), S_OK);
    EXPECT_EQ(config->ConfigureFilterUsingProfile(LoadProfile().Get()), VFW_E_ALREADY_CONNECTED);

    auto control = As<IMediaControl>(graph);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "VideoCap0000.asf"));
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "VideoCap0000.asf"));
    EXPECT_FALSE(folder.Read("VideoCap0000.asf").empty());
    EXPECT_EQ(dynamic_cast<SimAsfWriter*>(writer.Get())->FileName(), folder.Wide(L"VideoCap0000.asf"));

    // A writer whose folder is gone cannot start, and the run fails.
    ASSERT_EQ(control->Stop(), S_OK);
    ASSERT_EQ(sink->SetFileName(folder.Wide(L"missing/VideoCap0001.asf"), nullptr), S_OK);
    EXPECT_TRUE(FAILED(control->Run()));
    FILTER_STATE state;
    EXPECT_EQ(control->GetState(0, state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}
