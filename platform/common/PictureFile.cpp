#include "platform/PictureFile.h"

#include <bit>
#include <fstream>

#include "platform/Strings.h"

namespace platform {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint32_t kCompressionAlphaBitFields = 6;

uint16_t U16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t U32(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}

// One colour channel of a 32-bit pixel: where its bits are and how to widen them to 8.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    uint8_t From(uint32_t pixel) const {
        if (!mask) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

// Masks must be one run of bits; anything else is not a format any writer makes.
std::optional<Channel> MakeChannel(uint32_t mask) {
    if (mask == 0) return Channel{};
    const int shift = std::countr_zero(mask);
    const uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return std::nullopt;
    return Channel{mask, shift, run};
}

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    Channel red, green, blue, alpha;
    size_t pixelsAt = 0;
    size_t stride = 0;
};

std::optional<Layout> ReadLayout(std::span<const uint8_t> b) {
    if (b.size() < kFileHeaderBytes + 4 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const size_t headerBytes = U32(b, 14);
    // The information header and its later versions (with masks, colour space, profile).
    if (headerBytes != 40 && headerBytes != 52 && headerBytes != 56 && headerBytes != 108 && headerBytes != 124)
        return std::nullopt;
    if (b.size() < kFileHeaderBytes + headerBytes) return std::nullopt;

    Layout layout;
    const auto width = static_cast<int32_t>(U32(b, 18));
    const auto height = static_cast<int32_t>(U32(b, 22));
    const uint16_t planes = U16(b, 26);
    layout.bitsPerPixel = U16(b, 28);
    const uint32_t compression = U32(b, 30);
    if (planes != 1 || width <= 0 || height == 0 || width > kMaxPictureSide) return std::nullopt;
    if (height < -kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.topDown = height < 0;

    size_t masksEnd = kFileHeaderBytes + headerBytes;
    uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    if (layout.bitsPerPixel == 24) {
        if (compression != kCompressionRgb) return std::nullopt;
    } else if (layout.bitsPerPixel == 32) {
        if (compression == kCompressionBitFields || compression == kCompressionAlphaBitFields) {
            const size_t count = compression == kCompressionBitFields ? 3 : 4;
            if (count == 4 && headerBytes == 52) return std::nullopt;  // no room for the alpha mask
            // A plain information header is followed by the masks; later versions hold them.
            const size_t masksAt = kFileHeaderBytes + 40;
            if (headerBytes == 40) masksEnd += 4 * count;
            if (b.size() < masksAt + 4 * count) return std::nullopt;
            for (size_t i = 0; i < count; ++i) masks[i] = U32(b, masksAt + 4 * i);
            if (headerBytes >= 56 && count == 3) masks[3] = U32(b, masksAt + 12);
        } else if (compression != kCompressionRgb) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    auto red = MakeChannel(masks[0]), green = MakeChannel(masks[1]), blue = MakeChannel(masks[2]),
         alpha = MakeChannel(masks[3]);
    if (!red || !green || !blue || !alpha || !red->mask || !green->mask || !blue->mask) return std::nullopt;
    layout.red = *red, layout.green = *green, layout.blue = *blue, layout.alpha = *alpha;

    // The pixels must lie after the headers and be there in full; the last row may lack its padding.
    layout.pixelsAt = U32(b, 10);
    layout.stride = (static_cast<size_t>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
    const size_t lastRow = static_cast<size_t>(layout.width) * (layout.bitsPerPixel / 8);
    if (layout.pixelsAt < masksEnd || layout.pixelsAt > b.size()) return std::nullopt;
    const size_t available = b.size() - layout.pixelsAt;
    if (available < lastRow || (available - lastRow) / layout.stride < static_cast<size_t>(layout.height - 1))
        return std::nullopt;
    return layout;
}

}  // namespace

std::optional<Bitmap> DecodePicture(std::span<const uint8_t> bytes) {
    const std::optional<Layout> layout = ReadLayout(bytes);
    if (!layout) return std::nullopt;
    const Layout& l = *layout;
    Bitmap picture(l.width, l.height);
    for (int y = 0; y < l.height; ++y) {
        const int fileRow = l.topDown ? y : l.height - 1 - y;
        const uint8_t* in = bytes.data() + l.pixelsAt + static_cast<size_t>(fileRow) * l.stride;
        uint32_t* out = picture.Row(y);
        for (int x = 0; x < l.width; ++x) {
            if (l.bitsPerPixel == 24) {
                const uint8_t* p = in + 3 * static_cast<size_t>(x);
                out[x] = Color{p[2], p[1], p[0]}.Pixel();
                continue;
            }
            const uint8_t* p = in + 4 * static_cast<size_t>(x);
            const uint32_t pixel = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
            Color c{l.red.From(pixel), l.green.From(pixel), l.blue.From(pixel)};
            if (l.alpha.mask) {
                const unsigned a = l.alpha.From(pixel);
                c = {uint8_t((c.r * a + 127) / 255), uint8_t((c.g * a + 127) / 255), uint8_t((c.b * a + 127) / 255)};
            }
            out[x] = c.Pixel();
        }
    }
    return picture;
}

std::optional<Bitmap> LoadPictureFile(const std::wstring& path) {
    std::ifstream in(ToUtf8(path), std::ios::binary);
    if (!in) return std::nullopt;
    // Read in pieces up to the limit: the size a file claims (or a device without one) is never
    // what decides how much is taken in.
    std::vector<uint8_t> bytes;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        const auto got = static_cast<size_t>(in.gcount());
        if (bytes.size() + got > kMaxPictureFileBytes) return std::nullopt;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (in.bad()) return std::nullopt;
    return DecodePicture(bytes);
}

std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap) {
    const size_t stride = (static_cast<size_t>(bitmap.Width()) * 3 + 3) / 4 * 4;
    const size_t pixelBytes = stride * static_cast<size_t>(bitmap.Height());
    const size_t pixelsAt = kFileHeaderBytes + 40;
    std::vector<uint8_t> out(pixelsAt + pixelBytes, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        out[at] = uint8_t(v);
        out[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, static_cast<uint32_t>(pixelsAt));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(bitmap.Width()));
    put32(22, static_cast<uint32_t>(bitmap.Height()));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<uint32_t>(pixelBytes));
    put32(38, 2835);  // 72 dpi
    put32(42, 2835);
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = out.data() + pixelsAt + static_cast<size_t>(bitmap.Height() - 1 - y) * stride;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Color c = bitmap.At(x, y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
    return out;
}

}  // namespace platform
