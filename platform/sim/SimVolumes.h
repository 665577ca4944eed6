// Free space under the sim: one figure for every folder, set by the test (plenty by default);
// nothing makes the query fail. Drives are fixed unless the test names a folder removable.
#pragma once

#include <map>
#include <vector>

#include "platform/Volumes.h"

namespace platform::sim {

class SimVolumes final : public IVolumes {
public:
    static constexpr uint64_t kPlenty = uint64_t(64) << 30;

    std::optional<uint64_t> FreeBytes(const std::wstring& folder) override {
        m_queried.push_back(folder);
        return m_free;
    }
    void SetFreeBytes(std::optional<uint64_t> bytes) { m_free = bytes; }

    DriveType GetDriveType(const std::wstring& folder) override {
        auto type = m_driveTypes.find(folder);
        return type == m_driveTypes.end() ? DriveType::Fixed : type->second;
    }
    void SetDriveType(const std::wstring& folder, DriveType type) { m_driveTypes[folder] = type; }
    const std::vector<std::wstring>& Queried() const { return m_queried; }

private:
    std::optional<uint64_t> m_free = kPlenty;
    std::vector<std::wstring> m_queried;
    std::map<std::wstring, DriveType> m_driveTypes;
};

}  // namespace platform::sim
