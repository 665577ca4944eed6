// The language tables behind the message catalogue: every language complete and well formed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <map>
#include <set>
#include <string>

#include "resources/CatalogueTables.h"

namespace {

const wchar_t* TextOf(const CatalogueLanguage& language, uint32_t id) {
    return (*language.texts)[id - kFirstCatalogueId];
}

const CatalogueLanguage* FindLanguage(uint16_t langId) {
    for (const CatalogueLanguage& language : kCatalogueLanguages)
        if (language.langId == langId) return &language;
    return nullptr;
}

const std::set<uint16_t> kExpectedLanguages = {0x0404, 0x0407, 0x0409, 0x040C, 0x0410, 0x0412,
                                               0x0413, 0x0419, 0x041F, 0x0422, 0x0804, 0x0C0A};

}  // namespace

TEST(CatalogueTables, HoldsEachLanguageExactlyOnce) {
    std::multiset<uint16_t> seen;
    for (const CatalogueLanguage& language : kCatalogueLanguages) {
        seen.insert(language.langId);
        EXPECT_NE(language.texts, nullptr) << std::hex << language.langId;
    }
    EXPECT_EQ(seen, std::multiset<uint16_t>(kExpectedLanguages.begin(), kExpectedLanguages.end()));
    EXPECT_EQ(kCatalogueSize, 45u);
}

TEST(CatalogueTables, DistinctLanguagesHaveDistinctTables) {
    std::set<const void*> tables;
    for (const CatalogueLanguage& language : kCatalogueLanguages) tables.insert(language.texts);
    EXPECT_EQ(tables.size(), kCatalogueLanguages.size());
}

TEST(CatalogueTables, EveryTextIsPresentAndSingleLine) {
    for (const CatalogueLanguage& language : kCatalogueLanguages) {
        ASSERT_NE(language.texts, nullptr);
        for (uint32_t id = kFirstCatalogueId; id <= kLastCatalogueId; ++id) {
            const wchar_t* text = TextOf(language, id);
            ASSERT_NE(text, nullptr) << std::hex << language.langId << std::dec << " " << id;
            const std::wstring s(text);
            EXPECT_FALSE(s.empty()) << std::hex << language.langId << std::dec << " " << id;
            EXPECT_EQ(s.find_first_of(L"\r\n%"), std::wstring::npos)
                << std::hex << language.langId << std::dec << " " << id;
            EXPECT_LT(s.size(), 260u) << std::hex << language.langId << std::dec << " " << id;
        }
    }
}

TEST(CatalogueTables, ResolutionLabelKeepsItsTrailingBlank) {
    for (const CatalogueLanguage& language : kCatalogueLanguages) {
        const std::wstring s(TextOf(language, 6026));
        ASSERT_GE(s.size(), 2u) << std::hex << language.langId;
        EXPECT_EQ(s.back(), L' ') << std::hex << language.langId;
        EXPECT_NE(s[s.size() - 2], L' ') << std::hex << language.langId;
    }
}

TEST(CatalogueTables, SnapshotTextIsFixedInEveryLanguage) {
    const std::map<uint16_t, std::wstring> expected = {
        {0x0404, L"快照"},         {0x0407, L"Schnappschuss"},  {0x0409, L"Snapshot"},
        {0x040C, L"Capture"},      {0x0410, L"Fotografia"},     {0x0412, L"스냅샷"},
        {0x0413, L"Momentopname"}, {0x0419, L"Снимок"},         {0x041F, L"Görüntü"},
        {0x0422, L"Зробити знімок"}, {0x0804, L"快照"},          {0x0C0A, L"Capturar"},
    };
    for (const auto& [langId, text] : expected) {
        const CatalogueLanguage* language = FindLanguage(langId);
        ASSERT_NE(language, nullptr) << std::hex << langId;
        EXPECT_EQ(std::wstring(TextOf(*language, 6011)), text) << std::hex << langId;
    }
}

TEST(CatalogueTables, EnglishTextsAreTheReferenceTexts) {
    const CatalogueLanguage* english = FindLanguage(0x0409);
    ASSERT_NE(english, nullptr);
    EXPECT_EQ(english->texts, &kCatalogueEnglish);
    EXPECT_EQ(std::wstring(TextOf(*english, 6001)),
              L"No video capture device was detected on your system.");
    EXPECT_EQ(std::wstring(TextOf(*english, 6015)), L"Captured");
    EXPECT_EQ(std::wstring(TextOf(*english, 6026)), L"Resolution ");
    EXPECT_EQ(std::wstring(TextOf(*english, 6039)),
              L"Video Recording will be stopped. Do you want to close Vistrel?");
    EXPECT_EQ(std::wstring(TextOf(*english, 6045)),
              L"Vistrel does not support saving to removable disk.");
}

TEST(CatalogueTables, TranslatedTablesAreTranslated) {
    // A table copied from English by mistake would pass every other check.
    const CatalogueLanguage* english = FindLanguage(0x0409);
    ASSERT_NE(english, nullptr);
    for (const CatalogueLanguage& language : kCatalogueLanguages) {
        if (language.langId == 0x0409) continue;
        for (uint32_t id : {6001u, 6005u, 6039u, 6045u})
            EXPECT_NE(std::wstring(TextOf(language, id)), std::wstring(TextOf(*english, id)))
                << std::hex << language.langId << std::dec << " " << id;
    }
}

TEST(CatalogueTables, ProductNameAndNumbersSurviveTranslation) {
    for (const CatalogueLanguage& language : kCatalogueLanguages) {
        for (uint32_t id : {6039u, 6044u, 6045u})
            EXPECT_NE(std::wstring(TextOf(language, id)).find(L"Vistrel"), std::wstring::npos)
                << std::hex << language.langId << std::dec << " " << id;
        EXPECT_NE(std::wstring(TextOf(language, 6005)).find(L"250 MB"), std::wstring::npos)
            << std::hex << language.langId;
        for (uint32_t id : {6006u, 6037u})
            EXPECT_NE(std::wstring(TextOf(language, id)).find(L"S3/S4"), std::wstring::npos)
                << std::hex << language.langId << std::dec << " " << id;
    }
}
