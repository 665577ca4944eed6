// POSIX locale names as Windows language identifiers, for the system language on Linux.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

inline constexpr uint16_t kLangIdEnglishUnitedStates = 0x0409;

// language[_TERRITORY][.codeset][@modifier] ("de_AT.UTF-8", "sr_RS@latin") to its LANGID.
// A territory Windows has no identifier for gives the language's own default ("ru_UA" is
// Russian (Russia)), as does a name without territory ("zh" is Chinese (PRC)). Modifiers that
// name a script or a sort order count ("es_ES@traditional" 0x040A); others ("@euro") do not.
// "C", "POSIX", an unknown language and anything malformed give English (United States).
[[nodiscard]] uint16_t LangIdFromLocaleName(std::string_view name);

}  // namespace platform
