// The sim's Windows-Media-like profile and ASF writer: stream copies written back only by
// ReconfigStream, removal by stream number, the writer's pins and recorded configuration, and
// the file a running writer leaves.
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

    static uint32_t BufferWindow(const ComPtr<IWMProfile>& profile, uint32_t index) {
        uint32_t ms = 0;
        EXPECT_EQ(Stream(profile, index)->GetBufferWindow(ms), S_OK);
        return ms;
    }

    static std::vector<GUID> InputMajors(const ComPtr<IBaseFilter>& writer) {
        std::vector<GUID> majors;
        for (int i = 0; ComPtr<IPin> pin = In(writer, i); ++i) majors.push_back(dynamic_cast<SimPin*>(pin.Get())->Major());
        return majors;
    }
};

}  // namespace

TEST_F(SimMediaAsfTest, SystemProfileHasAudioThenVideoAndOnlyItsIdLoads) {
    ComPtr<IWMProfileManager> manager;
    ASSERT_EQ(Media().CreateProfileManager(manager), S_OK);
    ComPtr<IWMProfile> profile;
    EXPECT_EQ(manager->LoadProfileByID(GUID{1, 2, 3, {}}, profile), NS_E_INVALID_REQUEST);
    EXPECT_FALSE(profile);
    profile = LoadProfile();
    uint32_t count = 0;
    ASSERT_EQ(profile->GetStreamCount(count), S_OK);
    ASSERT_EQ(count, 2u);
    GUID type;
    uint16_t number = 0;
    ASSERT_EQ(Stream(profile, 0)->GetStreamType(type), S_OK);
    EXPECT_EQ(type, WMMEDIATYPE_Audio);
    ASSERT_EQ(Stream(profile, 1)->GetStreamType(type), S_OK);
    EXPECT_EQ(type, WMMEDIATYPE_Video);
    ASSERT_EQ(Stream(profile, 1)->GetStreamNumber(number), S_OK);
    EXPECT_EQ(number, 2);
    ComPtr<IWMStreamConfig> missing;
    EXPECT_EQ(profile->GetStream(2, missing), E_INVALIDARG);

    // The video type's size, with the two-step size protocol of GetMediaType.
    ComPtr<IWMMediaProps> props;
    ASSERT_EQ(Stream(profile, 1).As(props, IID_IWMMediaProps), S_OK);
    uint32_t size = 0;
    ASSERT_EQ(props->GetMediaType(nullptr, size), S_OK);
    EXPECT_GE(size, sizeof(AM_MEDIA_TYPE) + sizeof(VIDEOINFOHEADER));
    AM_MEDIA_TYPE mt;
    uint32_t tooSmall = size - 1;
    EXPECT_TRUE(FAILED(props->GetMediaType(&mt, tooSmall)));
    ASSERT_EQ(props->GetMediaType(&mt, size), S_OK);
    EXPECT_EQ(mt.subtype, WMMEDIASUBTYPE_WMV2);
    EXPECT_EQ(ReadVideoInfo(mt)->bmiHeader.biWidth, 320);
    EXPECT_EQ(ReadVideoInfo(mt)->bmiHeader.biHeight, 240);

    Media().Fail("CreateProfileManager");
    EXPECT_EQ(Media().CreateProfileManager(manager), E_FAIL);
    EXPECT_FALSE(manager);
}

TEST_F(SimMediaAsfTest, StreamsAreCopiesUntilReconfigured) {
    ComPtr<IWMProfile> profile = LoadProfile();
    const uint32_t original = BufferWindow(profile, 1);
    ComPtr<IWMStreamConfig> video = Stream(profile, 1);
    ASSERT_EQ(video->SetBufferWindow(3000), S_OK);
    EXPECT_EQ(BufferWindow(profile, 1), original);
    ASSERT_EQ(profile->ReconfigStream(video.Get()), S_OK);
    EXPECT_EQ(BufferWindow(profile, 1), 3000u);

    // Video-only interfaces; the audio stream has no video properties.
    ComPtr<IWMVideoMediaProps> videoProps;
    ComPtr<IWMPropertyVault> vault;
    ASSERT_EQ(video.As(videoProps, IID_IWMVideoMediaProps), S_OK);
    ASSERT_EQ(video.As(vault, IID_IWMPropertyVault), S_OK);
    ComPtr<IWMVideoMediaProps> audioProps;
    EXPECT_EQ(Stream(profile, 0).As(audioProps, IID_IWMVideoMediaProps), E_NOINTERFACE);
    EXPECT_EQ(videoProps->SetQuality(101), E_INVALIDARG);
    ASSERT_EQ(videoProps->SetQuality(10), S_OK);
    ASSERT_EQ(vault->SetProperty(L"_COMPLEXITYEX", 0), S_OK);
    AM_MEDIA_TYPE audio;
    uint32_t size = 4096;
    ComPtr<IWMMediaProps> audioMedia;
    ASSERT_EQ(Stream(profile, 0).As(audioMedia, IID_IWMMediaProps), S_OK);
    ASSERT_EQ(audioMedia->GetMediaType(&audio, size), S_OK);
    EXPECT_EQ(videoProps->SetMediaType(audio), E_INVALIDARG);  // a stream keeps its major type

    // A foreign or removed stream cannot be written back; removal goes by stream number.
    ComPtr<IWMProfile> other = LoadProfile();
    ComPtr<IWMStreamConfig> audioStream = Stream(other, 0);
    ASSERT_EQ(profile->RemoveStream(audioStream.Get()), S_OK);  // number 1 is in both profiles
    uint32_t count = 0;
    ASSERT_EQ(profile->GetStreamCount(count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(profile->ReconfigStream(audioStream.Get()), E_INVALIDARG);
    EXPECT_EQ(profile->RemoveStream(audioStream.Get()), E_INVALIDARG);
    GUID type;
    ASSERT_EQ(Stream(profile, 0)->GetStreamType(type), S_OK);
    EXPECT_EQ(type, WMMEDIATYPE_Video);
    EXPECT_EQ(BufferWindow(profile, 0), 3000u);  // the video stream moved to index 0 intact
}

TEST_F(SimMediaAsfTest, WriterPinsFollowTheProfileAndItsConfigurationIsRecorded) {
    ComPtr<IBaseFilter> writer = Filter(CLSID_WMAsfWriter);
    EXPECT_EQ(InputMajors(writer), (std::vector<GUID>{MEDIATYPE_Audio, MEDIATYPE_Video}));
    EXPECT_FALSE(Out(writer));

    // The edits of a recorder: size 352 x 288 into the video format block, key frames, quality.
    ComPtr<IWMProfile> profile = LoadProfile();
    ComPtr<IWMStreamConfig> video = Stream(profile, 1);
    ComPtr<IWMVideoMediaProps> props;
    ASSERT_EQ(video.As(props, IID_IWMVideoMediaProps), S_OK);
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
    ASSERT_EQ(writer.As(config, IID_IConfigAsfWriter), S_OK);
    ASSERT_EQ(config->ConfigureFilterUsingProfile(profile.Get()), S_OK);
    EXPECT_EQ(InputMajors(writer), (std::vector<GUID>{MEDIATYPE_Video}));

    auto* recorded = dynamic_cast<SimAsfWriter*>(writer.Get());
    ASSERT_TRUE(recorded && recorded->IsConfigured());
    ASSERT_EQ(recorded->Streams().size(), 1u);
    const SimAsfStream* stream = recorded->StreamOfType(WMMEDIATYPE_Video);
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
    ASSERT_EQ(writer.As(sink, IID_IFileSinkFilter), S_OK);
    Media().Fail("SetFileName", E_ACCESSDENIED);
    EXPECT_EQ(sink->SetFileName(folder.Wide(L"VideoCap0000.asf"), nullptr), E_ACCESSDENIED);
    ASSERT_EQ(sink->SetFileName(folder.Wide(L"VideoCap0000.asf"), nullptr), S_OK);
    ComPtr<IConfigAsfWriter> config;
    ASSERT_EQ(writer.As(config, IID_IConfigAsfWriter), S_OK);
    ASSERT_EQ(config->ConfigureFilterUsingProfile(LoadProfile().Get()), S_OK);
    // Audio on input 0: the video branch belongs on input 1.
    EXPECT_EQ(graph->Connect(Out(tee, 0).Get(), In(writer, 0).Get()), VFW_E_CANNOT_CONNECT);
    ASSERT_EQ(graph->Connect(Out(tee, 0).Get(), In(writer, 1).Get()), S_OK);
    EXPECT_EQ(config->ConfigureFilterUsingProfile(LoadProfile().Get()), VFW_E_ALREADY_CONNECTED);

    auto control = As<IMediaControl>(graph, IID_IMediaControl);
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
