// The catalogue's language tables: one array of texts per language, message 6001 first.
#pragma once

#include <array>
#include <cstdint>

#include "Catalogue.h"

inline constexpr size_t kCatalogueSize = kLastCatalogueId - kFirstCatalogueId + 1;

extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueEnglish;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueChineseTraditional;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueGerman;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueFrench;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueItalian;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueKorean;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueDutch;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueRussian;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueTurkish;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueUkrainian;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueChineseSimplified;
extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueSpanish;

// One language of the catalogue: its system language identifier and its texts.
struct CatalogueLanguage {
    uint16_t langId;
    const std::array<const wchar_t*, kCatalogueSize>* texts;
};

// Every language the catalogue holds, English (United States, 0x0409) among them.
extern const std::array<CatalogueLanguage, 12> kCatalogueLanguages;
