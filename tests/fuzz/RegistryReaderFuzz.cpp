// The registry's key-file reader and the settings' number parser on arbitrary bytes: never a
// crash, and what the reader hands over is always text the settings can take apart.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/linux/system/KeyFileText.h"
#include "platform/Strings.h"
#include "settings/RegistryValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The number parser straight on the bytes, as a value's text.
    const int number = ParseRegistryNumber(platform::FromUtf8(text));
    if (number != 0 && text.find_first_of("0123456789") == std::string_view::npos) std::abort();

    const auto values = platform::ReadKeyFileGroup(text, "HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel");
    if (!values) return 0;
    platform::KeyFileQueryKey key(*values);
    for (const auto& [name, value] : *values) {
        const auto asText = ReadRegistryText(&key, name, kTextBufferBytes);
        if (asText && asText->size() > kTextBufferBytes / 2) std::abort();
        (void)ReadRegistryNumber(&key, name, 1);
    }
    return 0;
}
