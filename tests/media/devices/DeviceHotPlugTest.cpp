// Plugging and unplugging test devices while the monitor runs: the notifications the program
// registers for, delivered on the default main context, and refused files reported once.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "DeviceMonitor.h"
#include "DeviceTestSupport.h"
#include "GstMedia.h"

namespace vistrel::test {
namespace {

using platform::DeviceChange;
using platform::gst::GstMedia;

struct Seen {
    DeviceChange::Kind kind;
    std::wstring name;
    std::vector<std::wstring> listedThen;  // the category as the handler found it
    friend bool operator==(const Seen&, const Seen&) = default;
};

constexpr auto Arrival = DeviceChange::Kind::Arrival;
constexpr auto Removal = DeviceChange::Kind::RemoveComplete;

class DeviceHotPlug : public testing::Test {
protected:
    // Records each change of the class, with what the category lists while the handler runs.
    uint32_t Record(const GUID& interfaceClass, const GUID& category, std::vector<Seen>& into) {
        return m_media->RegisterDeviceNotification(interfaceClass, [this, interfaceClass, category, &into](const DeviceChange& change) {
            EXPECT_EQ(change.interfaceClass, interfaceClass);
            into.push_back({change.kind, change.name, CategoryNames(*m_devices, category)});
        });
    }

    void StartMonitor() {
        m_media = std::make_unique<GstMedia>(nullptr);
        EXPECT_EQ(platform::CreateInstance(*m_media, CLSID_SystemDeviceEnum, m_devices), S_OK);
        m_media->Monitor().Start();
    }

    static size_t CountLines(const std::string& text, const std::string& word) {
        size_t count = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
        return count;
    }

    TestDeviceFolder m_folder;
    std::unique_ptr<GstMedia> m_media;
    ComPtr<ICreateDevEnum> m_devices;
};

TEST_F(DeviceHotPlug, CameraArrivesAndLeavesWithTheListAlreadyUpdated) {
    m_folder.Write("present.camera", DeviceFile("Present Camera"));
    StartMonitor();
    std::vector<Seen> cameras;
    std::vector<Seen> microphones;
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, cameras);
    Record(CLSID_AudioInputDeviceCategory, CLSID_AudioInputDeviceCategory, microphones);

    m_folder.Write("new.camera", DeviceFile("New Camera"));
    ASSERT_TRUE(PumpUntil([&] { return cameras.size() == 1; }));
    m_folder.Remove("new.camera");
    ASSERT_TRUE(PumpUntil([&] { return cameras.size() == 2; }));
    PumpFor(300);

    EXPECT_EQ(cameras, (std::vector<Seen>{
                           {Arrival, L"New Camera", {L"Present Camera", L"New Camera"}},
                           {Removal, L"New Camera", {L"Present Camera"}},
                       }));
    EXPECT_TRUE(microphones.empty());
}

TEST_F(DeviceHotPlug, EachKindOfDeviceReportsUnderItsOwnClass) {
    StartMonitor();
    std::vector<Seen> capture;
    std::vector<Seen> video;
    std::vector<Seen> audio;
    Record(AM_KSCATEGORY_CAPTURE, CLSID_VideoInputDeviceCategory, capture);
    Record(CLSID_VideoInputDeviceCategory, CLSID_VideoInputDeviceCategory, video);
    Record(CLSID_AudioInputDeviceCategory, CLSID_AudioInputDeviceCategory, audio);

    m_folder.Write("outside.camera", DeviceFile("Outside Camera", "CaptureClass=false\n"));
    m_folder.Write("mic.microphone", DeviceFile("USB Microphone"));
    ASSERT_TRUE(PumpUntil([&] { return video.size() == 1 && audio.size() == 1; }));
    PumpFor(300);

    EXPECT_TRUE(capture.empty());
    EXPECT_EQ(video, (std::vector<Seen>{{Arrival, L"Outside Camera", {L"Outside Camera"}}}));
    EXPECT_EQ(audio, (std::vector<Seen>{{Arrival, L"USB Microphone", {L"USB Microphone"}}}));
}

TEST_F(DeviceHotPlug, DevicesPresentAtStartAreNotAnnouncedAgain) {
    m_folder.Write("a.camera", DeviceFile("Camera A"));
    m_folder.Write("b.microphone", DeviceFile("Microphone B"));
    StartMonitor();
    std::vector<Seen> cameras;
    std::vector<Seen> microphones;
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, cameras);
    Record(CLSID_AudioInputDeviceCategory, CLSID_AudioInputDeviceCategory, microphones);
    PumpFor(300);
    EXPECT_TRUE(cameras.empty());
    EXPECT_TRUE(microphones.empty());
    EXPECT_EQ(CategoryNames(*m_devices, AM_KSCATEGORY_CAPTURE), (std::vector<std::wstring>{L"Camera A"}));
}

TEST_F(DeviceHotPlug, AFileWrittenInPlaceArrivesOnceWithoutComplaint) {
    StartMonitor();
    std::vector<Seen> cameras;
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, cameras);
    testing::internal::CaptureStderr();
    {
        // Half a file first, seen by the monitor before the rest comes.
        std::ofstream out(m_folder.FilePath("slow.camera"));
        out << DeviceFile("Slow Camera", "Sizes=352x288;6") << std::flush;
        PumpFor(300);
        EXPECT_TRUE(cameras.empty());
        out << "40x480\n";
    }
    bool arrived = PumpUntil([&] { return cameras.size() == 1; });
    PumpFor(300);
    std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(arrived);
    EXPECT_EQ(cameras.size(), 1u);
    EXPECT_EQ(errors, "");
}

TEST_F(DeviceHotPlug, RenamingPlugsAndUnplugs) {
    StartMonitor();
    std::vector<Seen> cameras;
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, cameras);
    m_folder.Write("draft.txt", DeviceFile("Renamed Camera"));
    PumpFor(200);
    EXPECT_TRUE(cameras.empty());

    m_folder.Rename("draft.txt", "draft.camera");
    ASSERT_TRUE(PumpUntil([&] { return cameras.size() == 1; }));
    m_folder.Rename("draft.camera", "draft.camera.off");
    ASSERT_TRUE(PumpUntil([&] { return cameras.size() == 2; }));
    EXPECT_EQ(cameras[0].kind, Arrival);
    EXPECT_EQ(cameras[1].kind, Removal);
    EXPECT_EQ(cameras[1].name, L"Renamed Camera");
}

TEST_F(DeviceHotPlug, ChangingAFileReplacesTheDevice) {
    m_folder.Write("cam.camera", DeviceFile("Old Name"));
    StartMonitor();
    std::vector<Seen> cameras;
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, cameras);
    m_folder.Write("cam.camera", DeviceFile("New Name"));
    ASSERT_TRUE(PumpUntil([&] { return cameras.size() == 2; }));
    EXPECT_EQ(cameras, (std::vector<Seen>{{Removal, L"Old Name", {}}, {Arrival, L"New Name", {L"New Name"}}}));
}

TEST_F(DeviceHotPlug, UnregisteredHandlerHearsNothingMore) {
    StartMonitor();
    std::vector<Seen> first;
    std::vector<Seen> second;
    uint32_t registration = Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, first);
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, second);
    EXPECT_NE(registration, 0u);
    m_folder.Write("a.camera", DeviceFile("Camera A"));
    ASSERT_TRUE(PumpUntil([&] { return first.size() == 1 && second.size() == 1; }));
    m_media->UnregisterDeviceNotification(registration);
    m_folder.Remove("a.camera");
    ASSERT_TRUE(PumpUntil([&] { return second.size() == 2; }));
    EXPECT_EQ(first.size(), 1u);
}

TEST_F(DeviceHotPlug, RefusedFilesAreSkippedWithOneWarningEachOthersListed) {
    m_folder.Write("1-good.camera", DeviceFile("Good Camera", "Sizes=352x288\n"));
    m_folder.Write("2-sizes.camera", DeviceFile("Bad Sizes", "Sizes=352x288;640\n"));
    m_folder.Write("3-key.camera", DeviceFile("Bad Key", "Resolution=640x480\n"));
    m_folder.Write("4-good.microphone", DeviceFile("Good Microphone"));
    testing::internal::CaptureStderr();
    StartMonitor();
    std::vector<std::wstring> listed = CategoryNames(*m_devices, CLSID_VideoInputDeviceCategory);
    std::vector<std::wstring> microphones = CategoryNames(*m_devices, CLSID_AudioInputDeviceCategory);
    PumpFor(300);
    std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_EQ(listed, (std::vector<std::wstring>{L"Good Camera"}));
    EXPECT_EQ(microphones, (std::vector<std::wstring>{L"Good Microphone"}));
    EXPECT_EQ(CountLines(errors, "\n"), 2u) << errors;
    EXPECT_EQ(CountLines(errors, "2-sizes.camera"), 1u) << errors;
    EXPECT_EQ(CountLines(errors, "3-key.camera"), 1u) << errors;
}

TEST_F(DeviceHotPlug, ARefusedFilePluggedLaterWarnsOnceAndArrivesNot) {
    StartMonitor();
    std::vector<Seen> cameras;
    Record(AM_KSCATEGORY_CAPTURE, AM_KSCATEGORY_CAPTURE, cameras);
    testing::internal::CaptureStderr();
    m_folder.WriteInPlace("bad.camera", DeviceFile("Bad Camera", "Sizes=big\n"));
    m_folder.Write("good.camera", DeviceFile("Good Camera"));
    bool arrived = PumpUntil([&] { return cameras.size() == 1; });
    PumpFor(500);
    std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(arrived);
    EXPECT_EQ(cameras[0].name, L"Good Camera");
    EXPECT_EQ(cameras.size(), 1u);
    EXPECT_EQ(CountLines(errors, "\n"), 1u) << errors;
    EXPECT_EQ(CountLines(errors, "bad.camera"), 1u) << errors;

    // Mended, it arrives.
    m_folder.Write("bad.camera", DeviceFile("Mended Camera"));
    ASSERT_TRUE(PumpUntil([&] { return cameras.size() == 2; }));
    EXPECT_EQ(cameras[1].name, L"Mended Camera");
}

}  // namespace
}  // namespace vistrel::test
