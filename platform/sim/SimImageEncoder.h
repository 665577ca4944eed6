// The real JPEG encoder, with a switch that makes the next encodings fail as a broken encoder
// or a full memory would, and a count of the encodings asked for.
#pragma once

#include "platform/ImageEncoder.h"

namespace platform::sim {

class SimImageEncoder final : public IImageEncoder {
public:
    size_t JpegBufferSize(int width, int height) override { return m_real.JpegBufferSize(width, height); }
    size_t EncodeJpeg(std::span<const uint8_t> frame, int width, int height, int quality,
                      std::span<uint8_t> out) override {
        ++m_encodings;
        m_lastQuality = quality;
        if (m_failures > 0) {
            --m_failures;
            return 0;
        }
        return m_real.EncodeJpeg(frame, width, height, quality, out);
    }

    void FailNext(int times = 1) { m_failures = times; }
    int Encodings() const { return m_encodings; }
    int LastQuality() const { return m_lastQuality; }

private:
    TurboJpegEncoder m_real;
    int m_failures = 0;
    int m_encodings = 0;
    int m_lastQuality = 0;
};

}  // namespace platform::sim
