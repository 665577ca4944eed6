// Short sound effects of the program (start chime, shutter click).
#pragma once

#include <string>

namespace platform {

class ISound {
public:
    virtual ~ISound() = default;
    // Starts playing a WAV file and returns at once; the sound goes on by itself. A missing or
    // unreadable file plays nothing (never a default sound). True when playback was started.
    [[nodiscard]] virtual bool PlaySoundFile(const std::wstring& path) = 0;
};

}  // namespace platform
