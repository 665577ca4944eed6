#include "Catalogue.h"

#include "CatalogueTables.h"

std::wstring GetCatalogueText(uint32_t id) {
    if (id < kFirstCatalogueId || id > kLastCatalogueId) return {};
    return kCatalogueEnglish[id - kFirstCatalogueId];
}
