// The profile objects both backends hand out: the one system profile, stream configurations
// that are copies until ReconfigStream takes them back, removal by stream number, the setters'
// checks, and the snapshot a writer reads.
#include <gtest/gtest.h>

#include "platform/media/WmProfileObjects.h"

using platform::AsWmProfile;
using platform::MakeComObject;
using platform::WmProfileManager;
using platform::WmStream;

namespace {

class WmProfileObjects : public testing::Test {
protected:
    void SetUp() override { m_profile = Load(); }

    static ComPtr<IWMProfile> Load() {
        ComPtr<IWMProfile> profile;
        EXPECT_EQ(MakeComObject<WmProfileManager>()->LoadProfileByID(WMProfile_V80_384Video, profile), S_OK);
        return profile;
    }
    static ComPtr<IWMStreamConfig> Stream(const ComPtr<IWMProfile>& profile, uint32_t index) {
        ComPtr<IWMStreamConfig> stream;
        EXPECT_EQ(profile->GetStream(index, stream), S_OK);
        return stream;
    }
    ComPtr<IWMStreamConfig> Stream(uint32_t index) { return Stream(m_profile, index); }
    uint32_t BufferWindow(uint32_t index) {
        uint32_t ms = 0;
        EXPECT_EQ(Stream(index)->GetBufferWindow(ms), S_OK);
        return ms;
    }
    static AM_MEDIA_TYPE MediaType(const ComPtr<IWMStreamConfig>& stream) {
        ComPtr<IWMMediaProps> props;
        EXPECT_EQ(stream.As(props), S_OK);
        AM_MEDIA_TYPE mt;
        uint32_t size = 4096;
        EXPECT_EQ(props->GetMediaType(&mt, size), S_OK);
        return mt;
    }

    ComPtr<IWMProfile> m_profile;
};

TEST_F(WmProfileObjects, OnlyTheSystemProfileLoads) {
    ComPtr<IWMProfile> profile = Load();
    EXPECT_EQ(MakeComObject<WmProfileManager>()->LoadProfileByID(GUID{0x12345678, 0, 0, {}}, profile),
              NS_E_INVALID_REQUEST);
    EXPECT_FALSE(profile);
}

TEST_F(WmProfileObjects, SystemProfileHoldsAudioThenVideo) {
    uint32_t count = 0;
    ASSERT_EQ(m_profile->GetStreamCount(count), S_OK);
    ASSERT_EQ(count, 2u);
    GUID type;
    uint16_t number = 0;
    ASSERT_EQ(Stream(0)->GetStreamType(type), S_OK);
    ASSERT_EQ(Stream(0)->GetStreamNumber(number), S_OK);
    EXPECT_EQ(type, WMMEDIATYPE_Audio);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(BufferWindow(0), 5000u);
    ASSERT_EQ(Stream(1)->GetStreamType(type), S_OK);
    ASSERT_EQ(Stream(1)->GetStreamNumber(number), S_OK);
    EXPECT_EQ(type, WMMEDIATYPE_Video);
    EXPECT_EQ(number, 2);
    EXPECT_EQ(BufferWindow(1), 5000u);
    ComPtr<IWMStreamConfig> missing;
    EXPECT_EQ(m_profile->GetStream(2, missing), E_INVALIDARG);
    EXPECT_FALSE(missing);

    EXPECT_EQ(MediaType(Stream(0)).subtype, WMMEDIASUBTYPE_WMAudioV2);
    const AM_MEDIA_TYPE video = MediaType(Stream(1));
    EXPECT_EQ(video.subtype, WMMEDIASUBTYPE_WMV2);
    auto vih = ReadVideoInfo(video);
    ASSERT_TRUE(vih);
    EXPECT_EQ(vih->bmiHeader.biWidth, 320);
    EXPECT_EQ(vih->bmiHeader.biHeight, 240);
}

// The two-step size protocol: ask for the size, then hand in a buffer at least that large.
TEST_F(WmProfileObjects, GetMediaTypeReportsTheSizeItNeeds) {
    ComPtr<IWMMediaProps> props;
    ASSERT_EQ(Stream(1).As(props), S_OK);
    uint32_t size = 0;
    ASSERT_EQ(props->GetMediaType(nullptr, size), S_OK);
    AM_MEDIA_TYPE mt;
    uint32_t tooSmall = size - 1;
    EXPECT_EQ(props->GetMediaType(&mt, tooSmall), E_INVALIDARG);
    EXPECT_EQ(tooSmall, size);
    ASSERT_EQ(props->GetMediaType(&mt, size), S_OK);
    EXPECT_EQ(size, platform::kMediaTypeHeaderBytes + mt.format.size());
    EXPECT_GE(mt.format.size(), sizeof(VIDEOINFOHEADER));
}

TEST_F(WmProfileObjects, OnlyVideoStreamsHaveVideoProperties) {
    ComPtr<IWMVideoMediaProps> videoProps;
    EXPECT_EQ(Stream(0).As(videoProps), E_NOINTERFACE);
    ASSERT_EQ(Stream(1).As(videoProps), S_OK);
    ComPtr<IWMPropertyVault> vault;
    ASSERT_EQ(Stream(1).As(vault), S_OK);
    EXPECT_EQ(vault->SetProperty(L"_COMPLEXITYEX", 0), S_OK);
}

TEST_F(WmProfileObjects, SettersRejectValuesOutOfRange) {
    ComPtr<IWMStreamConfig> video = Stream(1);
    ComPtr<IWMVideoMediaProps> props;
    ASSERT_EQ(video.As(props), S_OK);
    ComPtr<IWMPropertyVault> vault;
    ASSERT_EQ(video.As(vault), S_OK);
    EXPECT_EQ(props->SetQuality(101), E_INVALIDARG);
    EXPECT_EQ(props->SetMaxKeyFrameSpacing(-1), E_INVALIDARG);
    EXPECT_EQ(vault->SetProperty(L"", 1), E_INVALIDARG);
    EXPECT_EQ(props->SetMediaType(MediaType(Stream(0))), E_INVALIDARG);  // a stream keeps its major type
    AM_MEDIA_TYPE noFormat = MediaType(video);
    noFormat.format.clear();
    EXPECT_EQ(props->SetMediaType(noFormat), E_INVALIDARG);  // a writer needs the frame size

    ASSERT_EQ(props->SetQuality(100), S_OK);
    ASSERT_EQ(props->SetMaxKeyFrameSpacing(0), S_OK);
    ASSERT_EQ(vault->SetProperty(L"_COMPLEXITYEX", 2), S_OK);
    ASSERT_EQ(m_profile->ReconfigStream(video.Get()), S_OK);
    const WmStream stored = AsWmProfile(m_profile.Get())->Streams()[1];
    EXPECT_EQ(stored.quality, 100u);
    EXPECT_EQ(stored.maxKeyFrameSpacing, 0);
    EXPECT_EQ(stored.properties.at(L"_COMPLEXITYEX"), 2u);
}

TEST_F(WmProfileObjects, StreamsAreCopiesUntilReconfigured) {
    ComPtr<IWMStreamConfig> video = Stream(1);
    ASSERT_EQ(video->SetBufferWindow(3000), S_OK);
    EXPECT_EQ(BufferWindow(1), 5000u);
    ASSERT_EQ(m_profile->ReconfigStream(video.Get()), S_OK);
    EXPECT_EQ(BufferWindow(1), 3000u);
    EXPECT_EQ(BufferWindow(0), 5000u);
}

// A configuration from another profile is taken by its stream number; one whose number the
// profile no longer has, or that is not ours at all, is refused.
TEST_F(WmProfileObjects, RemovalGoesByStreamNumber) {
    ComPtr<IWMStreamConfig> video = Stream(1);
    ASSERT_EQ(video->SetBufferWindow(3000), S_OK);
    ASSERT_EQ(m_profile->ReconfigStream(video.Get()), S_OK);
    ComPtr<IWMStreamConfig> otherAudio = Stream(Load(), 0);
    ASSERT_EQ(m_profile->RemoveStream(otherAudio.Get()), S_OK);
    uint32_t count = 0;
    ASSERT_EQ(m_profile->GetStreamCount(count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(m_profile->ReconfigStream(otherAudio.Get()), NS_E_INVALID_REQUEST);
    EXPECT_EQ(m_profile->RemoveStream(otherAudio.Get()), NS_E_INVALID_REQUEST);
    EXPECT_EQ(m_profile->RemoveStream(nullptr), E_INVALIDARG);
    EXPECT_EQ(m_profile->ReconfigStream(nullptr), E_INVALIDARG);

    GUID type;
    ASSERT_EQ(Stream(0)->GetStreamType(type), S_OK);
    EXPECT_EQ(type, WMMEDIATYPE_Video);
    EXPECT_EQ(BufferWindow(0), 3000u);  // the video stream moved to index 0 intact
    ComPtr<IWMStreamConfig> none;
    EXPECT_EQ(m_profile->GetStream(1, none), E_INVALIDARG);
}

TEST_F(WmProfileObjects, WritersReadOnlyOurProfilesAndGetASnapshot) {
    EXPECT_EQ(AsWmProfile(nullptr), nullptr);
    EXPECT_EQ(AsWmProfile(Stream(0).Get()), nullptr);
    EXPECT_EQ(platform::AsWmStreamConfig(m_profile.Get()), nullptr);
    std::vector<WmStream> snapshot = AsWmProfile(m_profile.Get())->Streams();
    ASSERT_EQ(m_profile->RemoveStream(Stream(0).Get()), S_OK);
    ASSERT_EQ(snapshot.size(), 2u);
    EXPECT_EQ(snapshot[0].type, WMMEDIATYPE_Audio);
    EXPECT_EQ(snapshot[1].VideoInfo()->bmiHeader.biWidth, 320);
    EXPECT_EQ(AsWmProfile(m_profile.Get())->Streams().size(), 1u);
}

}  // namespace
