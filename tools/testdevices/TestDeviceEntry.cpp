#include "TestDeviceEntry.h"

#include <glib.h>

#include <charconv>

#include "GRefPtr.h"
#include "SyncPattern.h"

namespace vistrel::testdevices {
namespace {

constexpr std::string_view kGroup = "Device";

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && g_ascii_isspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && g_ascii_isspace(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<int> PositiveInt(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value <= 0) return std::nullopt;
    return value;
}

std::optional<bool> ParseBool(std::string_view text) {
    text = Trim(text);
    if (text == "true") return true;
    if (text == "false") return false;
    return std::nullopt;
}

}  // namespace

std::optional<TestDeviceKind> KindOfFileName(std::string_view fileName) {
    if (EndsWith(fileName, ".camera")) return TestDeviceKind::Camera;
    if (EndsWith(fileName, ".microphone")) return TestDeviceKind::Microphone;
    return std::nullopt;
}

std::optional<std::vector<FrameSize>> ParseSizes(std::string_view text) {
    std::vector<FrameSize> sizes;
    text = Trim(text);
    if (!text.empty() && text.back() == ';') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    while (true) {
        size_t end = text.find(';');
        std::string_view item = Trim(text.substr(0, end));
        size_t x = item.find('x');
        if (x == std::string_view::npos) return std::nullopt;
        auto width = PositiveInt(item.substr(0, x));
        auto height = PositiveInt(item.substr(x + 1));
        if (!width || !height) return std::nullopt;
        sizes.push_back({*width, *height});
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return sizes;
}

ParseResult ParseTestDevice(std::string_view fileName, std::string_view contents,
                            bool (*patternExists)(const char* pattern)) {
    auto kind = KindOfFileName(fileName);
    if (!kind) return std::string("the name ends neither in .camera nor in .microphone");
    const bool camera = *kind == TestDeviceKind::Camera;

    GUniquePtr<GKeyFile> file(g_key_file_new());
    GErrorPtr error;
    if (!g_key_file_load_from_data(file.get(), contents.data(), contents.size(), G_KEY_FILE_NONE, OutPtr(error)))
        return std::string("not a key file: ") + error->message;
    gsize groupCount = 0;
    GStrvPtr groups(g_key_file_get_groups(file.get(), &groupCount));
    for (gsize i = 0; i < groupCount; ++i)
        if (groups.get()[i] != kGroup) return std::string("unknown group [") + groups.get()[i] + "]";
    if (!g_key_file_has_group(file.get(), kGroup.data())) return std::string("no [Device] group");

    TestDeviceEntry entry;
    entry.kind = *kind;
    std::string_view stem = fileName.substr(0, fileName.rfind('.'));
    if (size_t slash = stem.rfind('/'); slash != std::string_view::npos) stem.remove_prefix(slash + 1);
    entry.name = stem;
    if (camera) entry.sizes = {{640, 480}};
    if (!camera) entry.pattern = kHumPattern;

    gsize keyCount = 0;
    GStrvPtr keys(g_key_file_get_keys(file.get(), kGroup.data(), &keyCount, nullptr));
    for (gsize i = 0; i < keyCount; ++i) {
        std::string_view key = keys.get()[i];
        GCharPtr raw(g_key_file_get_value(file.get(), kGroup.data(), keys.get()[i], nullptr));
        std::string_view value = raw ? std::string_view(raw.get()) : std::string_view();
        if (key == "Name") {
            GCharPtr name(g_key_file_get_string(file.get(), kGroup.data(), "Name", nullptr));
            if (!name || Trim(name.get()).empty()) return std::string("Name is empty");
            entry.name = Trim(name.get());
        } else if (key == "Busy") {
            auto busy = ParseBool(value);
            if (!busy) return "Busy is neither true nor false: " + std::string(value);
            entry.busy = *busy;
        } else if (camera && key == "Sizes") {
            auto sizes = ParseSizes(value);
            if (!sizes) return "malformed Sizes (WIDTHxHEIGHT;…): " + std::string(value);
            entry.sizes = std::move(*sizes);
        } else if (camera && key == "CaptureClass") {
            auto member = ParseBool(value);
            if (!member) return "CaptureClass is neither true nor false: " + std::string(value);
            entry.captureClass = *member;
        } else if (key == "Pattern") {
            std::string pattern(Trim(value));
            bool known = pattern == kSyncPattern || (camera ? patternExists(pattern.c_str()) : pattern == kHumPattern);
            if (!known) return "unknown Pattern: " + pattern;
            entry.pattern = pattern;
        } else {
            return "unknown key " + std::string(key);
        }
    }
    return entry;
}

}  // namespace vistrel::testdevices
