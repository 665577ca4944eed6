#include "SimMediaTypes.h"

#include <cstdio>
#include <cstdlib>

namespace platform::sim {

namespace {

constexpr uint32_t Fourcc(const GUID& subtype) { return subtype.Data1; }

}  // namespace

AM_MEDIA_TYPE SimVideoType(const GUID& subtype, Size size) {
    VIDEOINFOHEADER vih;
    vih.AvgTimePerFrame = 333333;  // 30 frames a second
    vih.bmiHeader.biWidth = size.cx;
    vih.bmiHeader.biHeight = size.cy;
    const uint32_t rows = static_cast<uint32_t>(std::abs(size.cy));
    if (subtype == MEDIASUBTYPE_RGB24) {
        vih.bmiHeader.biBitCount = 24;
        vih.bmiHeader.biSizeImage = SimRowStride(size.cx) * rows;
    } else if (subtype == MEDIASUBTYPE_RGB32) {
        vih.bmiHeader.biBitCount = 32;
        vih.bmiHeader.biSizeImage = static_cast<uint32_t>(size.cx) * 4 * rows;
    } else if (subtype == MEDIASUBTYPE_YUY2) {
        vih.bmiHeader.biBitCount = 16;
        vih.bmiHeader.biCompression = Fourcc(subtype);
        vih.bmiHeader.biSizeImage = static_cast<uint32_t>(size.cx) * 2 * rows;
    } else {  // compressed: the buffer is sized for the worst case
        vih.bmiHeader.biBitCount = 24;
        vih.bmiHeader.biCompression = Fourcc(subtype);
        vih.bmiHeader.biSizeImage = static_cast<uint32_t>(size.cx) * 3 * rows;
    }
    vih.dwBitRate = vih.bmiHeader.biSizeImage * 8 * 30;

    AM_MEDIA_TYPE mt;
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = subtype;
    mt.bFixedSizeSamples = vih.bmiHeader.biCompression == 0 || subtype == MEDIASUBTYPE_YUY2;
    mt.bTemporalCompression = !mt.bFixedSizeSamples;
    mt.lSampleSize = vih.bmiHeader.biSizeImage;
    mt.formattype = FORMAT_VideoInfo;
    WriteVideoInfo(mt, vih);
    return mt;
}

AM_MEDIA_TYPE SimRgb24Type(const AM_MEDIA_TYPE& video) {
    const auto size = SimVideoSize(video);
    AM_MEDIA_TYPE rgb = SimVideoType(MEDIASUBTYPE_RGB24, size.value_or(Size{}));
    if (auto vih = ReadVideoInfo(video)) {  // keep the frame rate and rectangles
        auto out = *ReadVideoInfo(rgb);
        out.rcSource = vih->rcSource;
        out.rcTarget = vih->rcTarget;
        out.AvgTimePerFrame = vih->AvgTimePerFrame;
        WriteVideoInfo(rgb, out);
    }
    return rgb;
}

AM_MEDIA_TYPE SimPcmType() {
    // WAVEFORMATEX: 44.1 kHz, 16-bit stereo.
    const uint8_t wave[18] = {0x01, 0x00, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1,
                              0x02, 0x00, 0x04, 0x00, 0x10, 0x00, 0x00, 0x00};
    AM_MEDIA_TYPE mt;
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = MEDIASUBTYPE_PCM;
    mt.bFixedSizeSamples = true;
    mt.lSampleSize = 4;
    mt.formattype = FORMAT_WaveFormatEx;
    mt.format.assign(std::begin(wave), std::end(wave));
    return mt;
}

std::optional<Size> SimVideoSize(const AM_MEDIA_TYPE& type) {
    const auto vih = ReadVideoInfo(type);
    if (!vih) return std::nullopt;
    return Size{vih->bmiHeader.biWidth, vih->bmiHeader.biHeight};
}

bool SimMajorsMatch(const GUID& a, const GUID& b) { return a == GUID_NULL || b == GUID_NULL || a == b; }

std::string SimHex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

}  // namespace platform::sim
