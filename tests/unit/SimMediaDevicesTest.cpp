// The sim's fake devices: categories, monikers, camera formats, plugging and failure switches.
#include <gtest/gtest.h>

#include "SimMediaFixture.h"

using namespace platform::sim;

namespace {

class SimMediaDevicesTest : public SimMediaTest {
protected:
    // Friendly names of a category in enumeration order; "?" for an unreadable name.
    std::vector<std::wstring> Names(const GUID& category) {
        ComPtr<IEnumMoniker> monikers;
        EXPECT_EQ(DevEnum()->CreateClassEnumerator(category, monikers), S_OK);
        std::vector<std::wstring> names;
        ComPtr<IMoniker> moniker;
        while (monikers && monikers->Next(moniker) == S_OK) {
            ComPtr<IPropertyBag> bag;
            std::wstring name = L"?";
            if (SUCCEEDED(moniker->BindToStorage(bag))) (void)bag->Read(L"FriendlyName", name);
            names.push_back(name);
        }
        return names;
    }
};

}  // namespace

TEST_F(SimMediaDevicesTest, CategoriesListPresentDevicesInOrderAndCaptureClassOnlyItsMembers) {
    Media().AddCamera(L"Front");
    Media().AddCamera(L"Legacy VFW").captureClass = false;
    Media().AddCamera(L"Front");  // same name twice is allowed
    Media().AddMicrophone(L"Mic A");

    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"Front", L"Legacy VFW", L"Front"}));
    EXPECT_EQ(Names(AM_KSCATEGORY_CAPTURE), (std::vector<std::wstring>{L"Front", L"Front"}));
    EXPECT_EQ(Names(CLSID_AudioInputDeviceCategory), (std::vector<std::wstring>{L"Mic A"}));
    const auto compressors = Names(CLSID_AudioCompressorCategory);
    EXPECT_NE(std::find(compressors.begin(), compressors.end(), L"PCM"), compressors.end());
    EXPECT_GT(compressors.size(), 1u);

    // The effect filter appears only once registered.
    auto legacy = Names(CLSID_LegacyAmFilterCategory);
    EXPECT_EQ(std::find(legacy.begin(), legacy.end(), L"Video Effect Filter"), legacy.end());
    Media().SetEffectFilterRegistered(true);
    legacy = Names(CLSID_LegacyAmFilterCategory);
    EXPECT_NE(std::find(legacy.begin(), legacy.end(), L"Video Effect Filter"), legacy.end());
    ComPtr<IBaseFilter> effect = Bind(CLSID_LegacyAmFilterCategory, L"Video Effect Filter");
    ComPtr<IVideoEffectControl> control;
    EXPECT_EQ(effect.As(control), S_OK);
}

TEST_F(SimMediaDevicesTest, EmptyCategoryGivesSFalseAndNoEnumerator) {
    ComPtr<IEnumMoniker> monikers;
    EXPECT_EQ(DevEnum()->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_FALSE);
    EXPECT_FALSE(monikers);
    Media().AddCamera(L"Only").captureClass = false;
    EXPECT_EQ(DevEnum()->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, monikers), S_FALSE);
    EXPECT_EQ(DevEnum()->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, monikers), S_FALSE);
    EXPECT_EQ(DevEnum()->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    ComPtr<IMoniker> moniker;
    EXPECT_EQ(monikers->Next(moniker), S_OK);
    EXPECT_EQ(monikers->Next(moniker), S_FALSE);
    EXPECT_FALSE(moniker);
    EXPECT_EQ(monikers->Reset(), S_OK);
    EXPECT_EQ(monikers->Next(moniker), S_OK);
}

TEST_F(SimMediaDevicesTest, DeviceFlagsBreakExactlyTheirStep) {
    SimCamera& noBag = Media().AddCamera(L"No bag");
    noBag.bagFails = true;
    Media().AddCamera(L"No name").nameReadable = false;
    Media().AddCamera(L"No bind").bindFails = true;
    Media().AddCamera(L"No pin").hasOutputPin = false;

    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"?", L"?", L"No bind", L"No pin"}));

    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(DevEnum()->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    ComPtr<IMoniker> moniker;
    ComPtr<IPropertyBag> bag;
    ComPtr<IBaseFilter> filter;
    std::wstring name;
    ASSERT_EQ(monikers->Next(moniker), S_OK);  // no bag, but it still binds
    EXPECT_TRUE(FAILED(moniker->BindToStorage(bag)));
    EXPECT_EQ(moniker->BindToObject(filter), S_OK);
    ASSERT_EQ(monikers->Next(moniker), S_OK);  // bag without a readable name
    ASSERT_EQ(moniker->BindToStorage(bag), S_OK);
    EXPECT_TRUE(FAILED(bag->Read(L"FriendlyName", name)));
    EXPECT_EQ(bag->Read(L"DevicePath", name), E_INVALIDARG);
    ASSERT_EQ(monikers->Next(moniker), S_OK);
    EXPECT_TRUE(FAILED(moniker->BindToObject(filter)));
    EXPECT_FALSE(filter);
    ASSERT_EQ(monikers->Next(moniker), S_OK);
    ASSERT_EQ(moniker->BindToObject(filter), S_OK);
    EXPECT_FALSE(Out(filter));

    // The records are read when used: mending a flag mends the next enumeration.
    noBag.bagFails = false;
    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory).front(), L"No bag");
}

TEST_F(SimMediaDevicesTest, BusyCameraFailsEveryAddAndCountsTheAttempts) {
    Media().AddCamera(L"Busy").busy = true;
    ComPtr<IBaseFilter> camera = Camera(L"Busy");
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(platform::CreateInstance(Media(), CLSID_FilterGraph, graph), S_OK);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(graph->AddFilter(camera.Get(), L"Cap"), E_DEVICE_BUSY);
    EXPECT_EQ(Media().Attempts("AddFilter:Cap"), 4);
    EXPECT_TRUE(Media().LastGraph()->filters.empty());
    Media().FindCamera(L"Busy")->busy = false;
    EXPECT_EQ(graph->AddFilter(camera.Get(), L"Cap"), S_OK);
}

TEST_F(SimMediaDevicesTest, CameraOffersOneVideoInfoTypePerSizeThenItsExtraSizes) {
    SimCamera& cam = Media().AddCamera(L"Cam", {{352, 288}, {641, 480}});
    cam.extraSizes = {{1280, 1024}};
    ComPtr<IPin> out = Out(Camera(L"Cam"));
    ASSERT_TRUE(out);
    const auto types = Types(out);
    ASSERT_EQ(types.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(types[i].majortype, MEDIATYPE_Video);
        EXPECT_EQ(types[i].subtype, MEDIASUBTYPE_RGB24);
        EXPECT_EQ(types[i].formattype, FORMAT_VideoInfo);
    }
    const auto odd = ReadVideoInfo(types[1]);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->bmiHeader.biWidth, 641);
    EXPECT_EQ(odd->bmiHeader.biHeight, 480);
    EXPECT_EQ(odd->bmiHeader.biBitCount, 24);
    EXPECT_EQ(odd->bmiHeader.biSizeImage, 1924u * 480u);  // 641 * 3 = 1923, padded to 1924
    EXPECT_EQ(types[2].subtype, MEDIASUBTYPE_MJPG);
    EXPECT_EQ(ReadVideoInfo(types[2])->bmiHeader.biWidth, 1280);

    cam.rgb24 = false;
    EXPECT_EQ(Types(Out(Camera(L"Cam"))).front().subtype, MEDIASUBTYPE_YUY2);
}

TEST_F(SimMediaDevicesTest, SetFormatTakesOnlyOfferedSubtypeAndSizeAndRecordsEveryCall) {
    SimCamera& cam = Media().AddCamera(L"Cam", {{352, 288}, {640, 480}});
    cam.extraSizes = {{1280, 1024}};
    ComPtr<IBaseFilter> filter = Camera(L"Cam");
    ComPtr<IAMStreamConfig> config;
    ASSERT_EQ(Out(filter).As(config), S_OK);

    AM_MEDIA_TYPE current;
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(ReadVideoInfo(current)->bmiHeader.biWidth, 352);

    auto resized = [&](int w, int h) {
        AM_MEDIA_TYPE type = current;
        auto vih = *ReadVideoInfo(type);
        vih.bmiHeader.biWidth = w;
        vih.bmiHeader.biHeight = h;
        WriteVideoInfo(type, vih);
        return type;
    };
    EXPECT_EQ(config->SetFormat(resized(640, 480)), S_OK);
    EXPECT_EQ(config->SetFormat(resized(1280, 1024)), VFW_E_TYPE_NOT_ACCEPTED);  // only offered as MJPG
    EXPECT_EQ(config->SetFormat(resized(720, 480)), VFW_E_TYPE_NOT_ACCEPTED);
    Media().Fail("SetFormat", E_ACCESSDENIED);
    EXPECT_EQ(config->SetFormat(resized(352, 288)), E_ACCESSDENIED);

    ASSERT_EQ(cam.setFormatCalls.size(), 4u);
    EXPECT_EQ(cam.setFormatCalls[1].result, VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(cam.LastFormatSize(), (platform::Size{640, 480}));
    ASSERT_EQ(config->GetFormat(current), S_OK);
    EXPECT_EQ(ReadVideoInfo(current)->bmiHeader.biWidth, 640);

    // A new filter of the same camera starts from its first size again.
    ComPtr<IAMStreamConfig> fresh;
    ASSERT_EQ(Out(Camera(L"Cam")).As(fresh), S_OK);
    ASSERT_EQ(fresh->GetFormat(current), S_OK);
    EXPECT_EQ(ReadVideoInfo(current)->bmiHeader.biWidth, 352);
}

TEST_F(SimMediaDevicesTest, PluggingNotifiesHandlersOfTheDevicesClassSynchronously) {
    std::vector<std::wstring> capture;
    std::vector<std::wstring> audio;
    auto record = [](std::vector<std::wstring>& into) {
        return [&into](const platform::DeviceChange& change) {
            into.push_back((change.kind == platform::DeviceChange::Kind::Arrival ? L"+" : L"-") + change.name);
        };
    };
    const uint32_t videoReg = Media().RegisterDeviceNotification(AM_KSCATEGORY_CAPTURE, record(capture));
    ASSERT_NE(videoReg, 0u);
    ASSERT_NE(Media().RegisterDeviceNotification(CLSID_AudioInputDeviceCategory, record(audio)), 0u);

    Media().AddCamera(L"Built in");  // present from the start: no news
    Media().PlugCamera(L"USB");
    Media().PlugCamera(L"Old").captureClass = false;  // notified before the flag was cleared
    EXPECT_TRUE(Media().Unplug(L"Old"));               // outside the class now: no news
    Media().PlugMicrophone(L"Headset");
    EXPECT_TRUE(Media().Unplug(L"USB"));
    EXPECT_FALSE(Media().Unplug(L"USB"));  // already gone
    EXPECT_EQ(capture, (std::vector<std::wstring>{L"+USB", L"+Old", L"-USB"}));
    EXPECT_EQ(audio, (std::vector<std::wstring>{L"+Headset"}));
    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"Built in"}));

    // Back in its old place; after unregistering nothing more arrives.
    EXPECT_TRUE(Media().Replug(L"USB"));
    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"Built in", L"USB"}));
    Media().UnregisterDeviceNotification(videoReg);
    EXPECT_TRUE(Media().Unplug(L"USB"));
    EXPECT_EQ(capture.back(), L"+USB");
    EXPECT_EQ(Media().NotificationRegistrations(), 1);
}

TEST_F(SimMediaDevicesTest, HandlerMayUnregisterWhileBeingCalled) {
    uint32_t first = 0;
    int calls = 0;
    first = Media().RegisterDeviceNotification(AM_KSCATEGORY_CAPTURE, [&](const platform::DeviceChange&) {
        ++calls;
        Media().UnregisterDeviceNotification(first);
    });
    Media().PlugCamera(L"A");
    Media().PlugCamera(L"B");
    EXPECT_EQ(calls, 1);
}

TEST_F(SimMediaDevicesTest, MonikerOfAnUnpluggedCameraNoLongerBinds) {
    Media().AddCamera(L"Cam");
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(DevEnum()->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    ComPtr<IMoniker> moniker;
    ASSERT_EQ(monikers->Next(moniker), S_OK);
    ComPtr<IBaseFilter> bound;
    ASSERT_EQ(moniker->BindToObject(bound), S_OK);
    ASSERT_TRUE(Media().Unplug(L"Cam"));
    ComPtr<IBaseFilter> stale;
    EXPECT_TRUE(FAILED(moniker->BindToObject(stale)));
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(platform::CreateInstance(Media(), CLSID_FilterGraph, graph), S_OK);
    EXPECT_TRUE(FAILED(graph->AddFilter(bound.Get(), L"Cap")));
}

TEST_F(SimMediaDevicesTest, FailureSwitchesCountDownPerOperationKey) {
    Media().AddCamera(L"Cam");
    Media().Fail("CreateClassEnumerator:VideoInput", E_OUTOFMEMORY, 2);
    Media().Fail("CreateInstance:SystemDeviceEnum", E_ACCESSDENIED);
    ComPtr<ICreateDevEnum> devEnum;
    EXPECT_EQ(platform::CreateInstance(Media(), CLSID_SystemDeviceEnum, devEnum), E_ACCESSDENIED);
    EXPECT_FALSE(devEnum);
    devEnum = DevEnum();
    ComPtr<IEnumMoniker> monikers;
    EXPECT_EQ(devEnum->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, monikers), S_FALSE);  // other key
    EXPECT_EQ(devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), E_OUTOFMEMORY);
    EXPECT_EQ(devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), E_OUTOFMEMORY);
    EXPECT_EQ(devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    EXPECT_EQ(Media().Attempts("CreateClassEnumerator:VideoInput"), 3);

    Media().Fail("CreateClassEnumerator:Capture", E_FAIL, -1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(devEnum->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, monikers), E_FAIL);
    Media().ClearFailures();
    EXPECT_EQ(devEnum->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, monikers), S_OK);

    void* object = &object;
    EXPECT_EQ(Media().CreateInstance(GUID{1, 2, 3, {}}, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

TEST_F(SimMediaDevicesTest, CameraPropertyPagesAndTheRecordedFrame) {
    SimCamera& cam = Media().AddCamera(L"Cam");
    ComPtr<IBaseFilter> filter = Camera(L"Cam");
    ComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(filter.As(pages), S_OK);
    std::vector<GUID> guids;
    ASSERT_EQ(pages->GetPages(guids), S_OK);
    EXPECT_EQ(guids, std::vector<GUID>{kSimCameraPropertyPage});

    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(platform::CreateInstance(Media(), CLSID_FilterGraph, graph), S_OK);
    ASSERT_EQ(graph->AddFilter(filter.Get(), L"Cap"), S_OK);
    EXPECT_EQ(Media().ShowPropertyFrame(platform::WindowHandle{7}, 10, 20, L"Cam", filter.Get(), guids), S_OK);
    ASSERT_EQ(Media().PropertyFrames().size(), 1u);
    const SimPropertyFrame& shown = Media().PropertyFrames()[0];
    EXPECT_EQ(shown.owner, platform::WindowHandle{7});
    EXPECT_EQ(shown.x, 10);
    EXPECT_EQ(shown.y, 20);
    EXPECT_EQ(shown.objectName, L"Cap");
    EXPECT_EQ(shown.pages, guids);

    cam.propertyPages = false;
    EXPECT_EQ(filter.As(pages), E_NOINTERFACE);
}
