#include "CaptureFixture.h"

namespace {

using platform::Size;
using Strings = std::vector<std::wstring>;

class DeviceEnumerationTest : public CaptureTest {};

TEST_F(DeviceEnumerationTest, CapabilityCodesFollowTheThreeSizesThenTheNtscFallback) {
    Media().AddCamera(L"Small", {{352, 288}});
    Media().AddCamera(L"MediumOnly", {{640, 480}});  // code 2: an entry saying "no code"
    Media().AddCamera(L"Two", {{640, 480}, {352, 288}});
    Media().AddCamera(L"All", {{1280, 1024}, {352, 288}, {640, 480}, {720, 480}});
    Media().AddCamera(L"Odd", {{800, 600}});  // code 0
    Media().AddCamera(L"Ntsc", {{720, 480}, {320, 240}});
    Media().AddMicrophone(L"Mic A");
    Media().AddMicrophone(L"Mic B");

    EXPECT_EQ(Dlg().EnumerateDevices(), 0);
    EXPECT_EQ(Dlg().m_arrVideoDevices, (Strings{L"Small", L"MediumOnly", L"Two", L"All", L"Odd", L"Ntsc"}));
    // Every camera keeps its own position: the ones after a camera without a code read theirs.
    EXPECT_EQ(Dlg().m_arrResolutionCaps, (Strings{L"1", L"0", L"3", L"7", L"0", L"8"}));
    EXPECT_EQ(Dlg().m_arrAudioDevices, (Strings{L"Mic A", L"Mic B"}));
    // Probing left nothing behind in the scratch graph.
    ASSERT_NE(Media().LastGraph(), nullptr);
    EXPECT_TRUE(Media().LastGraph()->FilterNames().empty());
}

TEST_F(DeviceEnumerationTest, DevicesOutsideTheCaptureClassAreProbedButNotNamed) {
    Media().AddCamera(L"Virtual", {{352, 288}}).captureClass = false;
    Media().AddCamera(L"Real", {{352, 288}, {640, 480}});
    Media().AddCamera(L"NoBag", {{352, 288}}).bagFails = true;
    Media().AddCamera(L"NoName", {{352, 288}, {640, 480}, {1280, 1024}}).nameReadable = false;

    EXPECT_EQ(Dlg().EnumerateDevices(), 0);
    EXPECT_EQ(Dlg().m_arrVideoDevices, (Strings{L"Real"}));
    // The unnamed and the unlisted camera still leave an entry; the one without a bag does not.
    EXPECT_EQ(Dlg().m_arrResolutionCaps, (Strings{L"1", L"3", L"7"}));

    // The filter counter counts every camera with a readable name, listed or not.
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(Dlg().CreateVideoDeviceFilter(filter, 1), 0);
    ASSERT_TRUE(filter);
    std::vector<AM_MEDIA_TYPE> types;
    ComPtr<IPin> pin;
    ASSERT_EQ(Dlg().GetPin(filter.Get(), PINDIR_OUTPUT, 0, pin), S_OK);
    ComPtr<IEnumMediaTypes> e;
    ASSERT_EQ(pin->EnumMediaTypes(e), S_OK);
    (void)e->Next(10, types);
    EXPECT_EQ(types.size(), 2u) << "index 1 is the camera named Real";
}

TEST_F(DeviceEnumerationTest, EmptyOrMissingEnumeratorAndReselectionByName) {
    Dlg().m_arrVideoDevices = {L"stale"};
    Media().Fail("CreateInstance:SystemDeviceEnum", E_OUTOFMEMORY);
    EXPECT_EQ(Dlg().EnumerateDevices(), E_OUTOFMEMORY);
    EXPECT_EQ(Dlg().m_arrVideoDevices, (Strings{L"stale"})) << "lists untouched";

    EXPECT_EQ(Dlg().EnumerateDevices(), -1) << "no camera at all";
    EXPECT_TRUE(Dlg().m_arrVideoDevices.empty());

    Media().AddCamera(L"Twin");
    Media().AddCamera(L"Other");
    Media().AddCamera(L"Twin");
    Dlg().m_nVideoDevice = 2;
    Dlg().m_strCameraName = L"Twin";
    EXPECT_EQ(Dlg().EnumerateDevices(), 0);
    EXPECT_EQ(Dlg().m_nVideoDevice, 0) << "the first of two equal names";
    Dlg().m_strCameraName = L"twin";
    EXPECT_EQ(Dlg().EnumerateDevices(), 0);
    EXPECT_EQ(Dlg().m_nVideoDevice, 0) << "no exact match: the first camera";
    Dlg().m_strCameraName.clear();
    Dlg().m_nVideoDevice = 1;
    EXPECT_EQ(Dlg().EnumerateDevices(), 0);
    EXPECT_EQ(Dlg().m_nVideoDevice, 1) << "no name yet: left as it was";
}

TEST_F(DeviceEnumerationTest, CaptureClassCheckAcceptsAllWhenTheEnumeratorIsMissing) {
    Media().AddCamera(L"Listed");
    EXPECT_EQ(Dlg().IsCaptureClassDevice(L"Listed"), 1);
    EXPECT_EQ(Dlg().IsCaptureClassDevice(L"Unknown"), 0);
    Media().Fail("CreateInstance:SystemDeviceEnum");
    EXPECT_NE(Dlg().IsCaptureClassDevice(L"Unknown"), 0);
}

}  // namespace
