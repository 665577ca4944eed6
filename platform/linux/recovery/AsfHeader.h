// What an ASF file's header says of the file: a writer that finished it wrote its size and
// marked it seekable; one that never finished left the broadcast mark of a stream in progress.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform::recovery {

// Whether the header's file properties say the file was finished; nothing when the bytes do
// not begin with an ASF header that holds them.
[[nodiscard]] std::optional<bool> AsfHeaderSaysFinished(std::span<const uint8_t> start);
// Where the last whole data packet of a file of `fileSize` bytes ends, for a header that gives
// every packet the same size (as muxers do); nothing when the header does not say.
[[nodiscard]] std::optional<uint64_t> AsfWholePacketsEnd(std::span<const uint8_t> start, uint64_t fileSize);
// The same for the file at `path` (UTF-8), reading only its first bytes.
[[nodiscard]] std::optional<bool> AsfFileSaysFinished(const std::string& path);
[[nodiscard]] std::optional<uint64_t> AsfFileWholePacketsEnd(const std::string& path);

}  // namespace platform::recovery
