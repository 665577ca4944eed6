// Four-byte RGB pictures to I420 in fixed point: the recording's encoder takes I420, and the
// pictures reach the writer as BGRx from the effect filter.
#pragma once

#include <cstdint>

namespace platform::gst {

// The weights of one conversion, made once for a picture format and colour matrix.
struct YuvWeights {
    // Where red, green and blue sit in the 32-bit word a pixel's four bytes load as.
    int shiftR = 0, shiftG = 0, shiftB = 0;
    // Luma of one pixel, scaled by 2^16, with its offset and rounding.
    int32_t yR = 0, yG = 0, yB = 0, yBias = 0;
    // Chroma of the sum of four pixels (a 2 x 2 block), scaled by 2^18, with offset and rounding.
    int32_t uR = 0, uG = 0, uB = 0, vR = 0, vG = 0, vB = 0, cBias = 0;
};

// Where a matrix and a range put the colours: kr and kb are the matrix's red and blue luma
// weights; yOffset / yExcursion and cOffset / cExcursion the range's luma and chroma levels
// (16 / 219 and 128 / 224 limited, 0 / 255 and 128 / 255 full). byteR, byteG and byteB are the
// colours' byte positions in a pixel.
struct YuvMatrix {
    double kr, kb;
    int yOffset, yExcursion, cOffset, cExcursion;
};
YuvWeights MakeYuvWeights(const YuvMatrix& matrix, int byteR, int byteG, int byteB);

struct RgbPicture {
    const uint8_t* data;
    int stride;  // bytes from one row to the next
    int width, height;
};

struct I420Picture {
    uint8_t* y;
    int yStride;
    uint8_t* u;
    int uStride;
    uint8_t* v;
    int vStride;
};

// Luma per pixel; chroma from each 2 x 2 block's mean, an odd last column or row standing in
// for its missing neighbour.
void ConvertRgbToI420(const RgbPicture& in, const I420Picture& out, const YuvWeights& weights);

}  // namespace platform::gst
