// Sounds are not played under the sim: each request is recorded with the virtual time it was made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SimClock.h"
#include "platform/Files.h"
#include "platform/Sound.h"

namespace platform::sim {

struct PlayedSound {
    std::wstring path;
    uint64_t at = 0;     // virtual time of the request
    bool found = false;  // the file existed, so a real backend would have played it
};

class SimSound final : public ISound {
public:
    SimSound(SimClock& clock, IFileSystem& files) : m_clock(clock), m_files(files) {}

    bool PlaySoundFile(const std::wstring& path) override;

    const std::vector<PlayedSound>& Requests() const { return m_requests; }

private:
    SimClock& m_clock;
    IFileSystem& m_files;
    std::vector<PlayedSound> m_requests;
};

}  // namespace platform::sim
