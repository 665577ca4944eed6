// Sounds on the real backend, on a machine that may have no sound card: playing never blocks
// the caller, every player is cleaned up from the main loop, and the program's own sounds are
// what they are meant to be.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LinuxSound.h"
#include "SystemTestSupport.h"
#include "platform/Strings.h"

namespace {

using namespace std::chrono_literals;
using platform::FromUtf8;
using platform::LinuxSound;
using systemtest::IsolatedTest;
using systemtest::MakeWav;
using systemtest::PumpUntil;

class SoundTest : public IsolatedTest {
protected:
    std::wstring Write(const std::string& name, const std::vector<char>& bytes) {
        std::ofstream(Folder() / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return FromUtf8((Folder() / name).string());
    }
};

TEST_F(SoundTest, PlayingReturnsAtOnceAndTheFinishedSoundIsCleanedUp) {
    LinuxSound sound;
    const std::wstring path = Write("tone.wav", MakeWav(22050, 0.15, 880));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(sound.PlaySoundFile(path));
    EXPECT_TRUE(sound.PlaySoundFile(path)) << "sounds may overlap";
    // Opening the audio output alone takes longer than this where there is none.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_EQ(sound.ActivePlayers(), 2u);
    EXPECT_TRUE(PumpUntil([&] { return sound.ActivePlayers() == 0; }, 10s));
    EXPECT_NE(LinuxSound::ChosenOutput(), LinuxSound::Output::NotChosen);
}

TEST_F(SoundTest, MissingFilesAndFoldersPlayNothing) {
    LinuxSound sound;
    EXPECT_FALSE(sound.PlaySoundFile(FromUtf8((Folder() / "absent.wav").string())));
    EXPECT_FALSE(sound.PlaySoundFile(FromUtf8(Folder().string())));
    EXPECT_EQ(sound.ActivePlayers(), 0u);
}

TEST_F(SoundTest, FileThatIsNoSoundEndsInAnErrorThatIsCleanedUp) {
    LinuxSound sound;
    const std::string text = "this is not a wave file\n";
    const std::wstring path = Write("broken.wav", std::vector<char>(text.begin(), text.end()));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(sound.PlaySoundFile(path));
    const bool cleaned = PumpUntil([&] { return sound.ActivePlayers() == 0; }, 10s);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(cleaned);
    EXPECT_NE(errors.find("broken.wav"), std::string::npos) << errors;
}

TEST_F(SoundTest, StoppingWhileSoundsPlayNeitherHangsNorCrashes) {
    const std::wstring path = Write("long.wav", MakeWav(22050, 2.0, 440));
    const auto start = std::chrono::steady_clock::now();
    {
        LinuxSound sound;
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(sound.PlaySoundFile(path));
        systemtest::PumpFor(50ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "the sounds are stopped, not waited for";
    systemtest::PumpFor(100ms);  // late callbacks of the stopped players must find nothing freed
}

// The WAV files the build makes for the program folder.
struct WavInfo {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

std::optional<WavInfo> ReadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVEfmt ", 8) != 0 ||
        std::memcmp(b.data() + 36, "data", 4) != 0)
        return std::nullopt;
    auto u16 = [&](size_t at) { return int(uint8_t(b[at])) | int(uint8_t(b[at + 1])) << 8; };
    auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
    WavInfo info{u16(20), u16(22), int(u32(24)), u16(34), {}};
    const uint32_t bytes = u32(40);
    if (u32(4) != 36 + bytes || b.size() != 44 + bytes) return std::nullopt;
    for (size_t i = 44; i + 1 < b.size(); i += 2) info.samples.push_back(int16_t(u16(i)));
    return info;
}

void ExpectProgramSound(const char* name, double maxSeconds) {
    SCOPED_TRACE(name);
    const auto wav = ReadWav(std::string(VISTREL_PROGRAM_DIR) + "/" + name);
    ASSERT_TRUE(wav) << "missing or malformed";
    EXPECT_EQ(wav->format, 1) << "PCM";
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->bits, 16);
    EXPECT_TRUE(wav->rate == 22050 || wav->rate == 44100);
    const double seconds = double(wav->samples.size()) / wav->rate;
    EXPECT_GT(seconds, 0.05);
    EXPECT_LT(seconds, maxSeconds);
    int peak = 0;
    for (int16_t s : wav->samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 32767 / 4) << "audible";
    EXPECT_LT(peak, 32767) << "not clipped";
    EXPECT_LT(std::abs(int(wav->samples.back())), 64) << "ends in silence, without a click of its own";
}

TEST(ProgramSoundsTest, ChimeAndClickAreShortCleanPcm) {
    ExpectProgramSound("CameraOn.wav", 1.0);
    ExpectProgramSound("click.wav", 0.3);
}

}  // namespace
