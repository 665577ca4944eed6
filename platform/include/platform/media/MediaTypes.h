// Media types as the capture graph describes them: major type, subtype and a format block that
// the program reads as a video-info header.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Guid.h"
#include "platform/Types.h"

using REFERENCE_TIME = int64_t;  // 100-nanosecond units

// The 40-byte header of a device-independent bitmap.
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // positive: rows bottom-up
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;  // BI_RGB
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct VIDEOINFOHEADER {
    platform::Rect rcSource;
    platform::Rect rcTarget;
    uint32_t dwBitRate = 0;
    uint32_t dwBitErrorRate = 0;
    REFERENCE_TIME AvgTimePerFrame = 0;
    BITMAPINFOHEADER bmiHeader;
};

struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    bool bFixedSizeSamples = false;
    bool bTemporalCompression = false;
    uint32_t lSampleSize = 0;
    GUID formattype;
    std::vector<uint8_t> format;  // the format block; empty when there is none
};

// The format block read as a video-info header whatever its format type says; nothing when
// the block is too short to hold one.
[[nodiscard]] inline std::optional<VIDEOINFOHEADER> ReadVideoInfo(const AM_MEDIA_TYPE& mt) {
    if (mt.format.size() < sizeof(VIDEOINFOHEADER)) return std::nullopt;
    VIDEOINFOHEADER vih;
    std::memcpy(&vih, mt.format.data(), sizeof vih);
    return vih;
}

// Writes the header over the start of the block, growing it when it is shorter.
inline void WriteVideoInfo(AM_MEDIA_TYPE& mt, const VIDEOINFOHEADER& vih) {
    if (mt.format.size() < sizeof vih) mt.format.resize(sizeof vih);
    std::memcpy(mt.format.data(), &vih, sizeof vih);
}

// Identifiers of the types in use.
inline constexpr GUID MEDIATYPE_Video{0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID MEDIATYPE_Audio{0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID MEDIASUBTYPE_RGB24{0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr GUID MEDIASUBTYPE_RGB32{0xE436EB7E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr GUID MEDIASUBTYPE_YUY2{0x32595559, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID MEDIASUBTYPE_MJPG{0x47504A4D, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID MEDIASUBTYPE_PCM{0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID FORMAT_VideoInfo{0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
inline constexpr GUID FORMAT_WaveFormatEx{0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
