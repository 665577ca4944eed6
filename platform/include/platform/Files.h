// The file operations the program needs, on wide paths with kPathSeparator.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    virtual bool FileExists(const std::wstring& path) = 0;       // a file (not a folder) of that exact name
    virtual bool DirectoryExists(const std::wstring& path) = 0;
    [[nodiscard]] virtual bool CreateDirectory(const std::wstring& path) = 0;  // one level; false if it could not be made
    // Creates the file only if nothing of that name exists; false otherwise (never touches an existing file).
    [[nodiscard]] virtual bool CreateNewFile(const std::wstring& path) = 0;
    // Replaces the file's content; false when it could not be written completely.
    [[nodiscard]] virtual bool WriteFile(const std::wstring& path, std::span<const uint8_t> bytes) = 0;
    virtual std::optional<std::vector<uint8_t>> ReadFile(const std::wstring& path) = 0;
    // Adds the bytes at the end of the file (created when absent; emptied first when
    // `truncate`); false when it could not be opened or written.
    [[nodiscard]] virtual bool AppendFile(const std::wstring& path, std::span<const uint8_t> bytes, bool truncate) = 0;
    [[nodiscard]] virtual bool DeleteFile(const std::wstring& path) = 0;
};

}  // namespace platform
