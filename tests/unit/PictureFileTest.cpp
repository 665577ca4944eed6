// Decoding picture files: the bitmap layouts writers produce, and files that lie or are not
// pictures at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "TempFolder.h"
#include "platform/PictureFile.h"

namespace {

using platform::Bitmap;
using platform::Color;
using platform::DecodePicture;

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// A picture whose every pixel tells where it is, so a flipped or shifted row shows.
Bitmap Numbered(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.Set(x, y, {uint8_t(x * 20), uint8_t(y * 40), uint8_t(7 + x + y)});
    return picture;
}

// A 32-bit file with a version-5 header: the masks and the pixels as given, rows top-down.
std::vector<uint8_t> ThirtyTwoBit(int width, int height, uint32_t compression, std::vector<uint32_t> masks,
                                  const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes(14 + 124 + pixels.size() * 4, 0);
    bytes[0] = 'B', bytes[1] = 'M';
    Put32(bytes, 10, 14 + 124);
    Put32(bytes, 14, 124);
    Put32(bytes, 18, uint32_t(width));
    Put32(bytes, 22, uint32_t(-height));
    bytes[26] = 1, bytes[28] = 32;
    Put32(bytes, 30, compression);
    for (size_t i = 0; i < masks.size(); ++i) Put32(bytes, 54 + 4 * i, masks[i]);
    for (size_t i = 0; i < pixels.size(); ++i) Put32(bytes, 138 + 4 * i, pixels[i]);
    return bytes;
}

}  // namespace

TEST(PictureFileTest, TwentyFourBitFilesComeBackPixelForPixelWhateverTheRowPadding) {
    for (int width : {1, 4, 5, 6, 7, 116}) {
        const Bitmap picture = Numbered(width, 3);
        const auto decoded = DecodePicture(platform::EncodeBmp(picture));
        ASSERT_TRUE(decoded) << width;
        EXPECT_EQ(*decoded, picture) << "width " << width;
    }
    // A writer that leaves off the last row's padding still gives every pixel.
    std::vector<uint8_t> bytes = platform::EncodeBmp(Numbered(5, 2));
    bytes.resize(bytes.size() - 1);
    EXPECT_TRUE(DecodePicture(bytes));
}

TEST(PictureFileTest, ThirtyTwoBitFilesWithMasksAndAlpha) {
    // Plain 32-bit: the fourth byte is not alpha.
    auto plain = DecodePicture(ThirtyTwoBit(2, 1, 0, {}, {0x00112233, 0x7F445566}));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->At(0, 0), (Color{0x11, 0x22, 0x33}));
    EXPECT_EQ(plain->At(1, 0), (Color{0x44, 0x55, 0x66}));

    // Bit fields in another order, with alpha: pixels come out over black.
    auto masked = DecodePicture(
        ThirtyTwoBit(2, 2, 3, {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},
                     {0xFF3020C0, 0x80FFFFFF, 0x00FFFFFF, 0xFF000001}));
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->At(0, 0), (Color{0xC0, 0x20, 0x30})) << "red in the low byte";
    EXPECT_EQ(masked->At(1, 0), (Color{128, 128, 128})) << "half transparent white over black";
    EXPECT_EQ(masked->At(0, 1), (Color{0, 0, 0})) << "rows top-down: the third pixel starts the second row";
    EXPECT_EQ(masked->At(1, 1), (Color{1, 0, 0}));

    // Five-bit channels widen to the full range.
    auto narrow = DecodePicture(ThirtyTwoBit(1, 1, 3, {0x7C00, 0x03E0, 0x001F}, {0x7C1F}));
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->At(0, 0), (Color{255, 0, 255}));

    // Masks that are not one run of bits are no format anybody writes.
    EXPECT_FALSE(DecodePicture(ThirtyTwoBit(1, 1, 3, {0x00FF00FF, 0x0000FF00, 0x000000FF}, {0})));
    EXPECT_FALSE(DecodePicture(ThirtyTwoBit(1, 1, 3, {0, 0x0000FF00, 0x000000FF}, {0})));
}

TEST(PictureFileTest, FilesThatAreNotPicturesOrLieAboutTheirSizeAreRefused) {
    const std::vector<uint8_t> good = platform::EncodeBmp(Numbered(8, 4));
    ASSERT_TRUE(DecodePicture(good));

    EXPECT_FALSE(DecodePicture({})) << "empty";
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>{'B', 'M'})) << "signature only";
    for (size_t keep : {size_t{13}, size_t{30}, size_t{54}, good.size() - 4})
        EXPECT_FALSE(DecodePicture(std::span(good).first(keep))) << "truncated to " << keep;
    const std::string text = "Vistrel is a desktop camera program, not a picture.";
    EXPECT_FALSE(DecodePicture(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())));

    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        Put32(bytes, at, value);
        return DecodePicture(bytes);
    };
    // Enormous declared sizes in a file of a few hundred bytes: refused before any allocation.
    EXPECT_FALSE(patched(18, 16384)) << "wider than the pixels there";
    EXPECT_FALSE(patched(22, 16384)) << "taller than the pixels there";
    EXPECT_FALSE(patched(18, 0x7FFFFFFF));
    EXPECT_FALSE(patched(22, 0x80000000)) << "the most negative height";
    EXPECT_FALSE(patched(18, 0)) << "no width";
    EXPECT_FALSE(patched(22, 0)) << "no height";
    EXPECT_FALSE(patched(10, 0xFFFFFFF0)) << "pixels beyond the end";
    EXPECT_FALSE(patched(10, 20)) << "pixels inside the header";
    EXPECT_FALSE(patched(14, 0xFFFFFFFF)) << "a header larger than the file";
    EXPECT_FALSE(patched(28, 8)) << "palette pictures are not read";
    EXPECT_FALSE(patched(30, 1)) << "run-length compressed";
}

TEST(PictureFileTest, LoadingReadsAtMostTheLimitFromDisk) {
    TempFolder folder;
    const Bitmap picture = Numbered(8, 2);
    const std::vector<uint8_t> bytes = platform::EncodeBmp(picture);
    {
        std::ofstream out(folder.Path() / "strip.bmp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    const auto loaded = platform::LoadPictureFile(folder.Wide(L"strip.bmp"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, picture);

    EXPECT_FALSE(platform::LoadPictureFile(folder.Wide(L"missing.bmp")));
    EXPECT_FALSE(platform::LoadPictureFile(folder.Wide())) << "a folder";

    // A good picture followed by more than the limit allows: refused, not read to the end.
    const auto big = folder.Path() / "big.bmp";
    {
        std::ofstream out(big, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::filesystem::resize_file(big, platform::kMaxPictureFileBytes + 1);
    EXPECT_FALSE(platform::LoadPictureFile(folder.Wide(L"big.bmp")));
}
