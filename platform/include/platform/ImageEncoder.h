// Still pictures: a frame as the grabber delivers it (24-bit BGR, rows bottom-up, each row
// padded to a multiple of 4 bytes as in a device-independent bitmap) encoded to JPEG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// The row pitch of such a frame.
[[nodiscard]] constexpr size_t DibRowStride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

class IImageEncoder {
public:
    virtual ~IImageEncoder() = default;
    // The most bytes a JPEG of that size can need: an output buffer this large always suffices.
    virtual size_t JpegBufferSize(int width, int height) = 0;
    // Encodes the frame into `out` and returns the JPEG's size; 0 when the frame is smaller than
    // its size says, the encoder fails or the JPEG does not fit in `out`. Reads only `frame`,
    // writes only `out`.
    virtual size_t EncodeJpeg(std::span<const uint8_t> frame, int width, int height, int quality,
                              std::span<uint8_t> out) = 0;
};

// libjpeg-turbo, used by both backends: encoding is a pure function, nothing to fake.
class TurboJpegEncoder final : public IImageEncoder {
public:
    TurboJpegEncoder() = default;
    ~TurboJpegEncoder() override;
    TurboJpegEncoder(const TurboJpegEncoder&) = delete;
    TurboJpegEncoder& operator=(const TurboJpegEncoder&) = delete;

    size_t JpegBufferSize(int width, int height) override;
    size_t EncodeJpeg(std::span<const uint8_t> frame, int width, int height, int quality,
                      std::span<uint8_t> out) override;

private:
    void* m_handle = nullptr;  // made at the first encoding, kept for the next ones
};

}  // namespace platform
