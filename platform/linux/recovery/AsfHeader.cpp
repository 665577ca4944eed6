#include "AsfHeader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

namespace platform::recovery {
namespace {

using Guid = std::array<uint8_t, 16>;

// The header object and, among its children, the file properties object (as stored on disk).
constexpr Guid kHeaderObject{0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kFileProperties{0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                               0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr size_t kObjectHead = 24;         // identifier and 64-bit size
constexpr size_t kHeaderHead = 30;         // the header object's head, child count and two reserved bytes
constexpr size_t kFlagsOffset = 88;        // in the file properties object, from its start
constexpr size_t kPacketSizesOffset = 92;  // its smallest and largest data packet sizes follow
constexpr size_t kDataObjectHead = 50;     // identifier, size, file identifier, packet count, reserved
constexpr uint32_t kBroadcastFlag = 0x01;  // still being written: sizes and durations not known
constexpr size_t kReadAtMost = 256 * 1024;

uint64_t Read64(std::span<const uint8_t> bytes, size_t at) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | bytes[at + size_t(i)];
    return value;
}

bool IsGuid(std::span<const uint8_t> bytes, size_t at, const Guid& guid) {
    return std::equal(guid.begin(), guid.end(), bytes.begin() + ptrdiff_t(at));
}

}  // namespace

namespace {

// The file properties object within the header: its offset, and the header's size.
struct Found {
    size_t at = 0;
    uint64_t headerSize = 0;
};

std::optional<Found> FileProperties(std::span<const uint8_t> start, size_t needed) {
    if (start.size() < kHeaderHead || !IsGuid(start, 0, kHeaderObject)) return std::nullopt;
    const uint64_t declared = Read64(start, 16);
    const uint64_t headerSize = std::min<uint64_t>(declared, start.size());
    for (size_t at = kHeaderHead; at + kObjectHead <= headerSize;) {
        const uint64_t size = Read64(start, at + 16);
        if (size < kObjectHead || size > headerSize - at) return std::nullopt;
        if (IsGuid(start, at, kFileProperties)) {
            if (size < needed) return std::nullopt;
            return Found{at, declared};
        }
        at += size_t(size);
    }
    return std::nullopt;
}

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

}  // namespace

std::optional<bool> AsfHeaderSaysFinished(std::span<const uint8_t> start) {
    auto found = FileProperties(start, kFlagsOffset + 4);
    if (!found) return std::nullopt;
    return (start[found->at + kFlagsOffset] & kBroadcastFlag) == 0;
}

std::optional<uint64_t> AsfWholePacketsEnd(std::span<const uint8_t> start, uint64_t fileSize) {
    auto found = FileProperties(start, kPacketSizesOffset + 8);
    if (!found) return std::nullopt;
    const uint32_t smallest = Read32(start, found->at + kPacketSizesOffset);
    const uint32_t largest = Read32(start, found->at + kPacketSizesOffset + 4);
    const uint64_t dataStart = found->headerSize + kDataObjectHead;
    if (smallest == 0 || smallest != largest || fileSize < dataStart) return std::nullopt;
    return dataStart + (fileSize - dataStart) / smallest * smallest;
}

namespace {

std::vector<uint8_t> FirstBytes(const std::string& path, uint64_t* fileSize) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (fileSize) *fileSize = in ? uint64_t(in.tellg()) : 0;
    in.seekg(0);
    std::vector<uint8_t> bytes(kReadAtMost);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    bytes.resize(size_t(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

}  // namespace

std::optional<uint64_t> AsfFileWholePacketsEnd(const std::string& path) {
    uint64_t size = 0;
    const std::vector<uint8_t> bytes = FirstBytes(path, &size);
    return AsfWholePacketsEnd(bytes, size);
}

std::optional<bool> AsfFileSaysFinished(const std::string& path) { return AsfHeaderSaysFinished(FirstBytes(path, nullptr)); }

}  // namespace platform::recovery
