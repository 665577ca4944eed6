// The numbered user-interface texts, 6001 to 6045, in the language chosen from the system's.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint32_t kFirstCatalogueId = 6001;
inline constexpr uint32_t kLastCatalogueId = 6045;

// The text of one message in the language chosen from the machine's default language; empty
// for an id outside the catalogue.
std::wstring GetCatalogueText(uint32_t id);

// The catalogue language for a system language identifier: the eleven other languages the
// catalogue holds by their exact identifiers, Chinese (Hong Kong) as Traditional Chinese,
// everything else English (United States).
uint16_t ChooseCatalogueLanguage(uint16_t systemLangId);
