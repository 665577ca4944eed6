#include "SimSound.h"

namespace platform::sim {

bool SimSound::PlaySoundFile(const std::wstring& path) {
    const bool found = m_files.FileExists(path);
    m_requests.push_back({path, m_clock.Now(), found});
    return found;
}

}  // namespace platform::sim
