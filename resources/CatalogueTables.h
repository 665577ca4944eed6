// The catalogue's language tables: one array of texts per language, message 6001 first.
#pragma once

#include <array>

#include "Catalogue.h"

inline constexpr size_t kCatalogueSize = kLastCatalogueId - kFirstCatalogueId + 1;

extern const std::array<const wchar_t*, kCatalogueSize> kCatalogueEnglish;
