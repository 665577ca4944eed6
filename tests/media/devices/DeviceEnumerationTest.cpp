// The device categories as the program walks them: names in the order the devices were first
// seen, the capture class, property bags, empty and unknown categories, and one entry per node.
#include <gtest/gtest.h>

#include "DeviceList.h"
#include "DeviceTestSupport.h"
#include "GstMedia.h"
#include "TestDevice.h"

namespace vistrel::test {
namespace {

using platform::gst::GstMedia;
using Sizes = std::vector<std::pair<int, int>>;

class DeviceEnumeration : public testing::Test {
protected:
    // The system device enumerator, as the program creates it.
    static ComPtr<ICreateDevEnum> SystemDeviceEnum(GstMedia& media) {
        ComPtr<ICreateDevEnum> devices;
        EXPECT_EQ(platform::CreateInstance(media, CLSID_SystemDeviceEnum, devices), S_OK);
        return devices;
    }

    TestDeviceFolder m_folder;
};

TEST_F(DeviceEnumeration, CamerasAndMicrophonesInFileOrderWithTheirSizes) {
    m_folder.Write("1-front.camera", DeviceFile("Front Camera", "Sizes=352x288;640x480;1280x1024\n"));
    m_folder.Write("2-dvd.camera", DeviceFile("DVD Camera", "Sizes=720x480\n"));
    m_folder.Write("3-wide.camera", DeviceFile("Wide Camera", "Sizes=640x480;1920x1080\n"));
    m_folder.Write("desk.microphone", DeviceFile("Desk Microphone"));
    m_folder.Write("notes.txt", "[Device]\nName=Not A Device\n");
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);

    EXPECT_EQ(CategoryNames(*devices, CLSID_VideoInputDeviceCategory),
              (std::vector<std::wstring>{L"Front Camera", L"DVD Camera", L"Wide Camera"}));
    EXPECT_EQ(CategoryNames(*devices, CLSID_AudioInputDeviceCategory), (std::vector<std::wstring>{L"Desk Microphone"}));

    const std::pair<const wchar_t*, Sizes> expected[] = {
        {L"Front Camera", {{352, 288}, {640, 480}, {1280, 1024}}},
        {L"DVD Camera", {{720, 480}}},
        {L"Wide Camera", {{640, 480}, {1920, 1080}}},
    };
    for (const auto& [name, sizes] : expected) {
        ComPtr<IBaseFilter> camera = BindByName(*devices, CLSID_VideoInputDeviceCategory, name);
        ASSERT_TRUE(camera) << name;
        ComPtr<IPin> out = FirstOutputPin(*camera);
        ASSERT_TRUE(out) << name;
        EXPECT_EQ(PinSizes(*out), sizes) << name;
    }
}

TEST_F(DeviceEnumeration, ADevicePluggedLaterComesLastWhateverItsName) {
    m_folder.Write("b.camera", DeviceFile("Camera B"));
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);
    ASSERT_EQ(CategoryNames(*devices, CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"Camera B"}));

    m_folder.Write("a.camera", DeviceFile("Camera A"));
    ASSERT_TRUE(PumpUntil([&] { return CategoryNames(*devices, CLSID_VideoInputDeviceCategory).size() == 2; }));
    EXPECT_EQ(CategoryNames(*devices, CLSID_VideoInputDeviceCategory),
              (std::vector<std::wstring>{L"Camera B", L"Camera A"}));
}

TEST_F(DeviceEnumeration, CaptureClassListsOnlyCamerasThatBelongToIt) {
    m_folder.Write("a.camera", DeviceFile("In Class"));
    m_folder.Write("b.camera", DeviceFile("Outside Class", "CaptureClass=false\n"));
    m_folder.Write("c.camera", DeviceFile("Also In Class", "CaptureClass=true\n"));
    m_folder.Write("d.microphone", DeviceFile("A Microphone"));
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);

    EXPECT_EQ(CategoryNames(*devices, AM_KSCATEGORY_CAPTURE),
              (std::vector<std::wstring>{L"In Class", L"Also In Class"}));
    EXPECT_EQ(CategoryNames(*devices, CLSID_VideoInputDeviceCategory),
              (std::vector<std::wstring>{L"In Class", L"Outside Class", L"Also In Class"}));
}

TEST_F(DeviceEnumeration, PropertyBagKnowsOnlyTheFriendlyName) {
    m_folder.Write("a.camera", DeviceFile("Vistrel Test Camera"));
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    ComPtr<IMoniker> moniker;
    ASSERT_EQ(monikers->Next(moniker), S_OK);
    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(moniker->BindToStorage(bag), S_OK);
    std::wstring value = L"unchanged";
    EXPECT_EQ(bag->Read(L"FriendlyName", value), S_OK);
    EXPECT_EQ(value, L"Vistrel Test Camera");
    EXPECT_EQ(bag->Read(L"DevicePath", value), E_INVALIDARG);
    EXPECT_EQ(bag->Read(L"friendlyname", value), E_INVALIDARG);

    // The end, then Reset starts over.
    EXPECT_EQ(monikers->Next(moniker), S_FALSE);
    EXPECT_FALSE(moniker);
    EXPECT_EQ(monikers->Reset(), S_OK);
    EXPECT_EQ(monikers->Next(moniker), S_OK);
}

TEST_F(DeviceEnumeration, EmptyCategoryIsSFalseWithoutEnumeratorAndUnknownIsInvalid) {
    m_folder.Write("a.camera", DeviceFile("Only Camera", "CaptureClass=false\n"));
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);
    ComPtr<IEnumMoniker> monikers;
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, monikers), S_FALSE);
    EXPECT_FALSE(monikers);
    EXPECT_EQ(devices->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, monikers), S_FALSE);
    EXPECT_FALSE(monikers);
    const GUID unknown{0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(devices->CreateClassEnumerator(unknown, monikers), E_INVALIDARG);
    EXPECT_FALSE(monikers);
}

TEST_F(DeviceEnumeration, NoFolderNoDevices) {
    g_setenv("VISTREL_TEST_DEVICES", (m_folder.Path() + "/missing").c_str(), TRUE);
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);
    ComPtr<IEnumMoniker> monikers;
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_FALSE);
}

TEST_F(DeviceEnumeration, AnEnumeratorKeepsItsListingAfterTheDeviceIsUnplugged) {
    m_folder.Write("a.camera", DeviceFile("Leaving Camera", "Sizes=352x288\n"));
    GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices = SystemDeviceEnum(media);
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers), S_OK);
    m_folder.Remove("a.camera");
    ASSERT_TRUE(PumpUntil([&] { return CategoryNames(*devices, CLSID_VideoInputDeviceCategory).empty(); }));

    ComPtr<IMoniker> moniker;
    ASSERT_EQ(monikers->Next(moniker), S_OK);
    ComPtr<IBaseFilter> camera;
    ASSERT_EQ(moniker->BindToObject(camera), S_OK);
    ComPtr<IPin> out = FirstOutputPin(*camera);
    ASSERT_TRUE(out);
    EXPECT_EQ(PinSizes(*out), (Sizes{{352, 288}}));
}

// Two providers can report the same node (pipewire and v4l2 both see /dev/video0).
TEST(DeviceList, OneEntryPerNodeWhoeverReportsIt) {
    using namespace vistrel::testdevices;
    TestDeviceEntry entry;
    entry.name = "Webcam";
    entry.sizes = {{640, 480}};
    GstDevice* first = GST_DEVICE(gst_object_ref_sink(NewTestDevice(entry, "/dev/video0")));
    entry.name = "Webcam (other provider)";
    GstDevice* twin = GST_DEVICE(gst_object_ref_sink(NewTestDevice(entry, "/dev/video0")));
    GstDevice* other = GST_DEVICE(gst_object_ref_sink(NewTestDevice(entry, "/dev/video2")));
    entry.kind = TestDeviceKind::Microphone;
    entry.name = "Webcam microphone";
    GstDevice* microphone = GST_DEVICE(gst_object_ref_sink(NewTestDevice(entry, "/dev/video0")));

    platform::gst::DeviceList list;
    EXPECT_TRUE(list.Add(first));
    EXPECT_FALSE(list.Add(first));
    EXPECT_FALSE(list.Add(twin));
    EXPECT_TRUE(list.Add(other));
    EXPECT_TRUE(list.Add(microphone));  // another kind on the same node is another device
    ASSERT_EQ(list.Of(platform::gst::DeviceKind::Camera).size(), 2u);
    EXPECT_EQ(list.Of(platform::gst::DeviceKind::Camera)[0].name, L"Webcam");
    EXPECT_FALSE(list.Remove(twin));
    EXPECT_TRUE(list.Remove(first));
    EXPECT_EQ(list.Of(platform::gst::DeviceKind::Camera).size(), 1u);
    // Once the node's listed device is gone, the other provider's view may stand for it.
    EXPECT_TRUE(list.Add(twin));

    for (GstDevice* device : {first, twin, other, microphone}) gst_object_unref(device);
}

TEST(DeviceList, PathFromWhicheverPropertyTheProviderSets) {
    auto pathOf = [](const char* key, const char* value) {
        GstStructure* s = gst_structure_new("props", key, G_TYPE_STRING, value, nullptr);
        std::string path = platform::gst::DevicePathOf(s);
        gst_structure_free(s);
        return path;
    };
    EXPECT_EQ(pathOf("api.v4l2.path", "/dev/video0"), "/dev/video0");
    EXPECT_EQ(pathOf("device.path", "/dev/video1"), "/dev/video1");
    EXPECT_EQ(pathOf("object.path", "v4l2:/dev/video2"), "/dev/video2");
    EXPECT_EQ(pathOf("object.path", "alsa:pcm:0:front:0:capture"), "alsa:pcm:0:front:0:capture");
    EXPECT_EQ(pathOf("other", "x"), "");
    EXPECT_EQ(platform::gst::DevicePathOf(nullptr), "");
}

}  // namespace
}  // namespace vistrel::test
