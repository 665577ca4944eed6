#include "Catalogue.h"

#include "CatalogueTables.h"
#include "platform/Platform.h"

namespace {

// The message table holds one block per language, found by exact identifier.
const CatalogueLanguage* FindCatalogueLanguage(uint16_t langId) {
    for (const CatalogueLanguage& language : kCatalogueLanguages)
        if (language.langId == langId) return &language;
    return nullptr;
}

// The text of one message in one language, as read into a buffer of 260 wide characters.
std::wstring FetchCatalogueMessage(uint32_t id, uint16_t langId) {
    constexpr size_t kBufferChars = 260;
    if (id < kFirstCatalogueId || id > kLastCatalogueId) return {};
    const CatalogueLanguage* language = FindCatalogueLanguage(langId);
    if (!language) return {};
    std::wstring text = (*language->texts)[id - kFirstCatalogueId];
    if (text.size() > kBufferChars - 1) text.resize(kBufferChars - 1);
    return text;
}

}  // namespace

uint16_t ChooseCatalogueLanguage(uint16_t systemLangId) {
    switch (systemLangId) {
        case 0x0419:
        case 0x0422:
        case 0x0407:
        case 0x040C:
        case 0x0C0A:
        case 0x0410:
        case 0x0412:
        case 0x0804:
        case 0x0404:
        case 0x0413:
        case 0x041F:
            return systemLangId;
        case 0x0C04:
            return 0x0404;
        default:
            return 0x0409;
    }
}

std::wstring GetCatalogueText(uint32_t id) {
    // 1. The machine's default language, asked afresh on every call.
    const uint16_t systemLangId =
        platform::IsInstalled() ? platform::Current().SystemInfo().GetSystemDefaultLangID() : uint16_t{0x0409};
    // 2. The catalogue language it selects.
    const uint16_t langId = ChooseCatalogueLanguage(systemLangId);
    // 3. and 4. The message in that language; empty when it cannot be fetched.
    return FetchCatalogueMessage(id, langId);
}
