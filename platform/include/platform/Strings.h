// Wide program strings and narrow UTF-8 text for the outside world.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Invalid input never fails: ill-formed UTF-8 becomes U+FFFD, lone surrogates likewise.
[[nodiscard]] std::string ToUtf8(std::wstring_view text);
[[nodiscard]] std::wstring FromUtf8(std::string_view text);

}  // namespace platform
