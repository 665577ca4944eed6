// The JPEG encoder both backends use: it never writes past the buffer it is given nor reads
// past the frame.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/ImageEncoder.h"

namespace {

// Noise is the hardest picture to compress: the largest JPEG of its size.
std::vector<uint8_t> NoiseFrame(int width, int height) {
    std::vector<uint8_t> frame(platform::DibRowStride(width) * height);
    std::mt19937 random(7);
    for (auto& byte : frame) byte = static_cast<uint8_t>(random());
    return frame;
}

TEST(TurboJpegEncoder, WorstCaseFitsTheBufferSizeItAdvertises) {
    platform::TurboJpegEncoder encoder;
    for (auto [w, h] : {std::pair{640, 480}, {1280, 1024}, {351, 287}}) {
        const auto frame = NoiseFrame(w, h);
        std::vector<uint8_t> out(encoder.JpegBufferSize(w, h));
        const size_t size = encoder.EncodeJpeg(frame, w, h, 100, out);
        ASSERT_GT(size, 0u) << w << "x" << h;
        EXPECT_EQ(out[0], 0xFF);
        EXPECT_EQ(out[1], 0xD8);
        EXPECT_EQ(out[size - 2], 0xFF);
        EXPECT_EQ(out[size - 1], 0xD9);
    }
}

TEST(TurboJpegEncoder, JpegLargerThanTheBufferFailsWithoutTouchingWhatFollows) {
    platform::TurboJpegEncoder encoder;
    const auto frame = NoiseFrame(640, 480);
    std::vector<uint8_t> memory(200000, 0xA5);
    const std::span<uint8_t> out(memory.data(), 100000);  // far less than noise needs at 75
    EXPECT_EQ(encoder.EncodeJpeg(frame, 640, 480, 75, out), 0u);
    for (size_t i = out.size(); i < memory.size(); ++i) ASSERT_EQ(memory[i], 0xA5) << i;

    // A smaller buffer that the JPEG does fit in is used.
    const std::vector<uint8_t> flat(platform::DibRowStride(640) * 480, 0x80);
    const size_t size = encoder.EncodeJpeg(flat, 640, 480, 75, out);
    EXPECT_GT(size, 0u);
    EXPECT_LT(size, out.size());
}

TEST(TurboJpegEncoder, FrameShorterThanItsSizeIsRefused) {
    platform::TurboJpegEncoder encoder;
    const auto frame = NoiseFrame(640, 479);
    std::vector<uint8_t> out(encoder.JpegBufferSize(640, 480));
    EXPECT_EQ(encoder.EncodeJpeg(frame, 640, 480, 75, out), 0u);
    EXPECT_EQ(encoder.EncodeJpeg(frame, 0, 480, 75, out), 0u);
}

}  // namespace
