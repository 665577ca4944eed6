// The catalogue's languages, each with the system language identifier it answers to.
#include "CatalogueTables.h"

const std::array<CatalogueLanguage, 12> kCatalogueLanguages = {{
    {0x0404, &kCatalogueChineseTraditional},
    {0x0407, &kCatalogueGerman},
    {0x0409, &kCatalogueEnglish},
    {0x040C, &kCatalogueFrench},
    {0x0410, &kCatalogueItalian},
    {0x0412, &kCatalogueKorean},
    {0x0413, &kCatalogueDutch},
    {0x0419, &kCatalogueRussian},
    {0x041F, &kCatalogueTurkish},
    {0x0422, &kCatalogueUkrainian},
    {0x0804, &kCatalogueChineseSimplified},
    {0x0C0A, &kCatalogueSpanish},
}};
