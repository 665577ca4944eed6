// Real files on a POSIX file system: used by the Linux backend and, over a temporary folder,
// by the sim.
#pragma once

#include "platform/Files.h"

namespace platform {

class PosixFiles final : public IFileSystem {
public:
    bool FileExists(const std::wstring& path) override;
    bool DirectoryExists(const std::wstring& path) override;
    bool CreateDirectory(const std::wstring& path) override;
    bool CreateNewFile(const std::wstring& path) override;
    bool WriteFile(const std::wstring& path, std::span<const uint8_t> bytes) override;
    std::optional<std::vector<uint8_t>> ReadFile(const std::wstring& path) override;
    bool AppendFile(const std::wstring& path, std::span<const uint8_t> bytes, bool truncate) override;
    bool DeleteFile(const std::wstring& path) override;
};

}  // namespace platform
