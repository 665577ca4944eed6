#include "CapsMediaType.h"

#include <gst/audio/audio.h>
#include <gst/video/video.h>

#include <cstring>
#include <string_view>

namespace platform::gst {
namespace {

// Subtypes that are not in the shared header are four-character codes in the base GUID.
constexpr GUID FourCcSubtype(const char (&code)[5]) {
    uint32_t value = uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
                     uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
    return GUID{value, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

struct VideoFormatEntry {
    const char* gstFormat;
    GUID subtype;
    uint16_t bitCount;
};

// RGB24 is BGR in memory (a DIB's byte order), RGB32 BGRx; the YUV formats keep their codes.
const VideoFormatEntry kVideoFormats[] = {
    {"BGR", MEDIASUBTYPE_RGB24, 24},
    {"BGRx", MEDIASUBTYPE_RGB32, 32},
    {"BGRA", FourCcSubtype("BGRA"), 32},
    {"RGB", FourCcSubtype("RGB3"), 24},
    {"RGBx", FourCcSubtype("RGBx"), 32},
    {"RGBA", FourCcSubtype("RGBA"), 32},
    {"xRGB", FourCcSubtype("xRGB"), 32},
    {"xBGR", FourCcSubtype("xBGR"), 32},
    {"YUY2", MEDIASUBTYPE_YUY2, 16},
    {"UYVY", FourCcSubtype("UYVY"), 16},
    {"YVYU", FourCcSubtype("YVYU"), 16},
    {"I420", FourCcSubtype("I420"), 12},
    {"YV12", FourCcSubtype("YV12"), 12},
    {"NV12", FourCcSubtype("NV12"), 12},
    {"NV21", FourCcSubtype("NV21"), 12},
    {"GRAY8", FourCcSubtype("Y800"), 8},
};

const VideoFormatEntry* EntryOfFormat(std::string_view format) {
    for (const auto& entry : kVideoFormats)
        if (format == entry.gstFormat) return &entry;
    return nullptr;
}

int FixedInt(const GstStructure* s, const char* field) {
    int value = 0;
    return gst_structure_get_int(s, field, &value) ? value : 0;
}

AM_MEDIA_TYPE VideoType(const GstStructure* s, GUID subtype, uint16_t bitCount) {
    AM_MEDIA_TYPE mt;
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = subtype;
    mt.formattype = FORMAT_VideoInfo;
    VIDEOINFOHEADER vih;
    int width = FixedInt(s, "width");
    int height = FixedInt(s, "height");
    vih.rcSource = Rect{0, 0, width, height};
    vih.rcTarget = vih.rcSource;
    int num = 0;
    int den = 0;
    if (gst_structure_get_fraction(s, "framerate", &num, &den) && num > 0)
        vih.AvgTimePerFrame = REFERENCE_TIME(10'000'000) * den / num;
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biBitCount = bitCount;
    // Rows are padded to four bytes, as a DIB's are (and as GStreamer's packed RGB rows are).
    uint32_t stride = ((uint32_t(width) * bitCount + 31) / 32) * 4;
    vih.bmiHeader.biSizeImage = stride * uint32_t(height);
    if (subtype == MEDIASUBTYPE_RGB24 || subtype == MEDIASUBTYPE_RGB32) {
        mt.bFixedSizeSamples = true;
        mt.lSampleSize = vih.bmiHeader.biSizeImage;
    } else {
        vih.bmiHeader.biCompression = subtype.Data1;
    }
    if (bitCount) vih.dwBitRate = uint32_t(uint64_t(vih.bmiHeader.biSizeImage) * 8 * uint64_t(num > 0 ? num : 0) /
                                           uint64_t(den > 0 ? den : 1));
    WriteVideoInfo(mt, vih);
    return mt;
}

AM_MEDIA_TYPE AudioType(const GstStructure* s) {
    AM_MEDIA_TYPE mt;
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = MEDIASUBTYPE_PCM;
    mt.formattype = FORMAT_WaveFormatEx;
    mt.bFixedSizeSamples = true;
    WaveFormat wf;
    wf.nChannels = uint16_t(FixedInt(s, "channels"));
    wf.nSamplesPerSec = uint32_t(FixedInt(s, "rate"));
    if (const char* format = gst_structure_get_string(s, "format")) {
        GstAudioFormat af = gst_audio_format_from_string(format);
        if (af != GST_AUDIO_FORMAT_UNKNOWN) wf.wBitsPerSample = uint16_t(GST_AUDIO_FORMAT_INFO_WIDTH(gst_audio_format_get_info(af)));
        if (af == GST_AUDIO_FORMAT_F32LE || af == GST_AUDIO_FORMAT_F64LE) wf.wFormatTag = 3;  // IEEE float
    }
    wf.nBlockAlign = uint16_t(wf.nChannels * wf.wBitsPerSample / 8);
    wf.nAvgBytesPerSec = wf.nSamplesPerSec * wf.nBlockAlign;
    mt.lSampleSize = wf.nBlockAlign;
    mt.format.resize(sizeof wf);
    std::memcpy(mt.format.data(), &wf, sizeof wf);
    return mt;
}

}  // namespace

AM_MEDIA_TYPE StructureToMediaType(const GstStructure* s) {
    std::string_view name = gst_structure_get_name(s);
    if (name == "video/x-raw") {
        const char* format = gst_structure_get_string(s, "format");
        if (const VideoFormatEntry* entry = format ? EntryOfFormat(format) : nullptr)
            return VideoType(s, entry->subtype, entry->bitCount);
        return VideoType(s, GUID_NULL, 0);  // format not fixed or not known
    }
    if (name == "image/jpeg") return VideoType(s, MEDIASUBTYPE_MJPG, 24);
    if (name == "audio/x-raw") return AudioType(s);
    return AM_MEDIA_TYPE{};
}

std::vector<AM_MEDIA_TYPE> CapsToMediaTypes(const GstCaps* caps) {
    std::vector<AM_MEDIA_TYPE> types;
    if (!caps || gst_caps_is_any(caps)) return types;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) types.push_back(StructureToMediaType(gst_caps_get_structure(caps, i)));
    return types;
}

const char* VideoFormatOfSubtype(const GUID& subtype) {
    for (const auto& entry : kVideoFormats)
        if (entry.subtype == subtype) return entry.gstFormat;
    return nullptr;
}

GstCaps* MediaTypeToCaps(const AM_MEDIA_TYPE& type) {
    GstStructure* s = nullptr;
    if (type.majortype == MEDIATYPE_Video) {
        if (type.subtype == MEDIASUBTYPE_MJPG) {
            s = gst_structure_new_empty("image/jpeg");
        } else if (const char* format = VideoFormatOfSubtype(type.subtype)) {
            s = gst_structure_new("video/x-raw", "format", G_TYPE_STRING, format, nullptr);
        } else if (type.subtype == GUID_NULL) {
            s = gst_structure_new_empty("video/x-raw");
        } else {
            return nullptr;
        }
        if (auto vih = ReadVideoInfo(type)) {
            int width = vih->bmiHeader.biWidth;
            int height = vih->bmiHeader.biHeight < 0 ? -vih->bmiHeader.biHeight : vih->bmiHeader.biHeight;
            if (width > 0 && height > 0)
                gst_structure_set(s, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height, nullptr);
            if (vih->AvgTimePerFrame > 0) {
                int num = 0;
                int den = 0;
                gst_util_double_to_fraction(10'000'000.0 / double(vih->AvgTimePerFrame), &num, &den);
                gst_structure_set(s, "framerate", GST_TYPE_FRACTION, num, den, nullptr);
            }
        }
    } else if (type.majortype == MEDIATYPE_Audio) {
        s = gst_structure_new_empty("audio/x-raw");
        if (type.format.size() >= sizeof(WaveFormat)) {
            WaveFormat wf;
            std::memcpy(&wf, type.format.data(), sizeof wf);
            if (wf.nChannels) gst_structure_set(s, "channels", G_TYPE_INT, int(wf.nChannels), nullptr);
            if (wf.nSamplesPerSec) gst_structure_set(s, "rate", G_TYPE_INT, int(wf.nSamplesPerSec), nullptr);
        }
    } else {
        return nullptr;
    }
    return gst_caps_new_full(s, nullptr);
}

}  // namespace platform::gst
