// What one test-device file declares: a key file with the group [Device] whose name ends in
// ".camera" or ".microphone".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace vistrel::testdevices {

enum class TestDeviceKind { Camera, Microphone };

// A microphone's own quiet tone, the default.
inline constexpr char kHumPattern[] = "hum";

struct FrameSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

struct TestDeviceEntry {
    TestDeviceKind kind = TestDeviceKind::Camera;
    std::string name;
    std::vector<FrameSize> sizes;  // cameras only, never empty for one
    bool busy = false;
    bool captureClass = true;      // cameras only
    std::string pattern = "smpte"; // a videotestsrc pattern or "sync"; a microphone's is "hum" or "sync"
    friend bool operator==(const TestDeviceEntry&, const TestDeviceEntry&) = default;
};

// The kind a file name declares, or nothing for a file that is not a device.
[[nodiscard]] std::optional<TestDeviceKind> KindOfFileName(std::string_view fileName);

// "352x288;640x480": the sizes in order (a trailing ';' is allowed), or nothing when any item is
// not WIDTHxHEIGHT with both positive.
[[nodiscard]] std::optional<std::vector<FrameSize>> ParseSizes(std::string_view text);

// The device a file's contents declare, or why it is refused. The name defaults to the file's
// name without its extension; a camera without Sizes offers 640x480. `patternExists` says
// whether a videotestsrc pattern name is known; "sync" is known to cameras and microphones.
using ParseResult = std::variant<TestDeviceEntry, std::string>;
[[nodiscard]] ParseResult ParseTestDevice(std::string_view fileName, std::string_view contents,
                                          bool (*patternExists)(const char* pattern));

}  // namespace vistrel::testdevices
