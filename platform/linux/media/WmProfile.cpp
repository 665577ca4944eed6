#include "WmProfile.h"

#include <cstring>

namespace platform::gst {

WmAudioFormat AudioFormatOf(const WmStream& stream) {
    WmAudioFormat format{2, 44100, 32000};
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
