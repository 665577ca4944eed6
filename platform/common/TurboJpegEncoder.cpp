#include <turbojpeg.h>

#include <cstring>
#include <limits>

#include "platform/ImageEncoder.h"

namespace platform {

namespace {

// Chroma at half resolution both ways, as the common JPEG encoders of the desktop write it.
constexpr int kSubsampling = TJSAMP_420;

bool FrameSizeValid(int width, int height) {
    return width > 0 && height > 0 && width <= std::numeric_limits<int>::max() / 4 &&
           static_cast<size_t>(height) <= std::numeric_limits<size_t>::max() / DibRowStride(width);
}

}  // namespace

TurboJpegEncoder::~TurboJpegEncoder() {
    if (m_handle) tjDestroy(static_cast<tjhandle>(m_handle));
}

size_t TurboJpegEncoder::JpegBufferSize(int width, int height) {
    if (!FrameSizeValid(width, height)) return 0;
    const unsigned long size = tjBufSize(width, height, kSubsampling);
    return size == static_cast<unsigned long>(-1) ? 0 : size;
}

size_t TurboJpegEncoder::EncodeJpeg(std::span<const uint8_t> frame, int width, int height, int quality,
                                    std::span<uint8_t> out) {
    if (!FrameSizeValid(width, height) || frame.size() < DibRowStride(width) * static_cast<size_t>(height)) return 0;
    if (!m_handle) m_handle = tjInitCompress();
    if (!m_handle) return 0;
    auto* handle = static_cast<tjhandle>(m_handle);
    const int pitch = static_cast<int>(DibRowStride(width));
    const int flags = TJFLAG_BOTTOMUP;

    // With room for the worst case the library writes straight into the caller's buffer; it
    // trusts that room without checking, so anything smaller goes through a buffer of its own.
    const size_t worst = JpegBufferSize(width, height);
    if (worst != 0 && out.size() >= worst) {
        unsigned char* target = out.data();
        unsigned long size = static_cast<unsigned long>(out.size());
        if (tjCompress2(handle, frame.data(), width, pitch, height, TJPF_BGR, &target, &size, kSubsampling, quality,
                        flags | TJFLAG_NOREALLOC) != 0)
            return 0;
        return size;
    }
    unsigned char* own = nullptr;
    unsigned long size = 0;
    size_t written = 0;
    if (tjCompress2(handle, frame.data(), width, pitch, height, TJPF_BGR, &own, &size, kSubsampling, quality, flags) ==
            0 &&
        size <= out.size()) {
        std::memcpy(out.data(), own, size);
        written = size;
    }
    tjFree(own);
    return written;
}

}  // namespace platform
