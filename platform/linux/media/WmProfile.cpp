#include "WmProfile.h"

#include <cstring>

namespace platform::gst {
namespace {

// What the ASF writer's audio branch is set to when the stream's wave format leaves a value out:
// the audio of the smallest system profile.
constexpr int kDefaultChannels = 2;         // stereo
constexpr int kDefaultSampleRate = 44'100;  // samples per second, CD rate
constexpr int kDefaultAudioBitrate = 32'000;  // bits per second of WMA 2

}  // namespace

WmAudioFormat AudioFormatOf(const WmStream& stream) {
    WmAudioFormat format{kDefaultChannels, kDefaultSampleRate, kDefaultAudioBitrate};
    if (stream.mediaType.format.size() >= sizeof(WaveFormat)) {
        WaveFormat wf;
        std::memcpy(&wf, stream.mediaType.format.data(), sizeof wf);
        if (wf.nChannels) format.channels = wf.nChannels;
        if (wf.nSamplesPerSec) format.rate = int(wf.nSamplesPerSec);
        if (wf.nAvgBytesPerSec) format.bitrate = int(wf.nAvgBytesPerSec) * 8;
    }
    return format;
}

}  // namespace platform::gst
