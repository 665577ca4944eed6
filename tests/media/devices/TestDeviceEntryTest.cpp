// The file format others write test devices in: what is accepted, what refused, and why.
#include <gtest/gtest.h>

#include <cstring>

#include "TestDeviceEntry.h"

namespace vistrel::testdevices {
namespace {

bool KnownPattern(const char* pattern) { return std::strcmp(pattern, "smpte") == 0 || std::strcmp(pattern, "ball") == 0; }

ParseResult Parse(const char* fileName, const std::string& contents) {
    return ParseTestDevice(fileName, contents, KnownPattern);
}

std::string Refusal(const char* fileName, const std::string& contents) {
    ParseResult result = Parse(fileName, contents);
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

TEST(TestDeviceSizes, ListsEachWidthByHeightInOrder) {
    auto sizes = ParseSizes("352x288;640x480;1280x1024");
    ASSERT_TRUE(sizes);
    EXPECT_EQ(*sizes, (std::vector<FrameSize>{{352, 288}, {640, 480}, {1280, 1024}}));
    EXPECT_EQ(ParseSizes(" 720x480 ; "), (std::vector<FrameSize>{{720, 480}}));
}

TEST(TestDeviceSizes, RefusesAnythingButPositiveWidthByHeight) {
    for (const char* bad : {"", ";", "640", "640x", "x480", "0x480", "640x-1", "640x480x3", "640*480", "640x480;;352x288",
                            "abcxdef", "99999999999x480"})
        EXPECT_FALSE(ParseSizes(bad)) << bad;
}

TEST(TestDeviceFile, CameraWithEveryKey) {
    ParseResult result = Parse("Vistrel Test Camera.camera",
                               "[Device]\nName=Front\nSizes=352x288;640x480\nBusy=true\nCaptureClass=false\nPattern=ball\n");
    ASSERT_TRUE(std::holds_alternative<TestDeviceEntry>(result)) << std::get<std::string>(result);
    const auto& entry = std::get<TestDeviceEntry>(result);
    EXPECT_EQ(entry.kind, TestDeviceKind::Camera);
    EXPECT_EQ(entry.name, "Front");
    EXPECT_EQ(entry.sizes, (std::vector<FrameSize>{{352, 288}, {640, 480}}));
    EXPECT_TRUE(entry.busy);
    EXPECT_FALSE(entry.captureClass);
    EXPECT_EQ(entry.pattern, "ball");
}

TEST(TestDeviceFile, DefaultsAreNameFromFileFreeCaptureClassSmpte) {
    ParseResult camera = Parse("/some/folder/Desk Cam.camera", "[Device]\n");
    ASSERT_TRUE(std::holds_alternative<TestDeviceEntry>(camera));
    EXPECT_EQ(std::get<TestDeviceEntry>(camera).name, "Desk Cam");
    EXPECT_FALSE(std::get<TestDeviceEntry>(camera).busy);
    EXPECT_TRUE(std::get<TestDeviceEntry>(camera).captureClass);
    EXPECT_EQ(std::get<TestDeviceEntry>(camera).pattern, "smpte");
    EXPECT_EQ(std::get<TestDeviceEntry>(camera).sizes, (std::vector<FrameSize>{{640, 480}}));

    ParseResult microphone = Parse("Headset.microphone", "[Device]\nName=Headset Mic\n");
    ASSERT_TRUE(std::holds_alternative<TestDeviceEntry>(microphone));
    EXPECT_EQ(std::get<TestDeviceEntry>(microphone).kind, TestDeviceKind::Microphone);
    EXPECT_TRUE(std::get<TestDeviceEntry>(microphone).sizes.empty());
}

TEST(TestDeviceFile, RefusalsSayWhatIsWrong) {
    EXPECT_NE(Refusal("a.camera", "[Device]\nSizes=640x\n").find("Sizes"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "[Device]\nColour=red\n").find("unknown key Colour"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "[Device]\nBusy=yes\n").find("Busy"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "[Device]\nPattern=plaid\n").find("Pattern"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "[Camera]\nName=x\n").find("group"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "[Device]\nName=x\n[Extra]\n").find("group"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "Name=x\n").find("key file"), std::string::npos);
    EXPECT_NE(Refusal("a.camera", "[Device]\nName=  \n").find("Name"), std::string::npos);
    // Camera-only keys are unknown to a microphone.
    EXPECT_NE(Refusal("a.microphone", "[Device]\nSizes=640x480\n").find("unknown key Sizes"), std::string::npos);
    EXPECT_NE(Refusal("a.microphone", "[Device]\nCaptureClass=true\n").find("unknown key"), std::string::npos);
}

TEST(TestDeviceFile, SyncIsAPatternOfBothKindsAndAMicrophoneKnowsNoPictures) {
    for (const char* fileName : {"a.camera", "a.microphone"}) {
        ParseResult result = Parse(fileName, "[Device]\nPattern=sync\n");
        ASSERT_TRUE(std::holds_alternative<TestDeviceEntry>(result)) << fileName;
        EXPECT_EQ(std::get<TestDeviceEntry>(result).pattern, "sync");
    }
    EXPECT_EQ(std::get<TestDeviceEntry>(Parse("a.microphone", "[Device]\n")).pattern, "hum");
    EXPECT_NE(Refusal("a.microphone", "[Device]\nPattern=smpte\n").find("Pattern"), std::string::npos);
}

TEST(TestDeviceFile, OnlyCameraAndMicrophoneFilesAreDevices) {
    EXPECT_EQ(KindOfFileName("x.camera"), TestDeviceKind::Camera);
    EXPECT_EQ(KindOfFileName("x.microphone"), TestDeviceKind::Microphone);
    EXPECT_FALSE(KindOfFileName("x.camera~"));
    EXPECT_FALSE(KindOfFileName("camera"));
    EXPECT_FALSE(KindOfFileName(".camera"));
    EXPECT_FALSE(KindOfFileName("x.txt"));
}

}  // namespace
}  // namespace vistrel::testdevices
