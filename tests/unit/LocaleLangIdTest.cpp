// Locale names as Windows language identifiers: the identifiers must be Windows' own, since the
// program picks its message language by exact identifier.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/LocaleLangId.h"

namespace {

using platform::LangIdFromLocaleName;

using Cases = std::vector<std::pair<std::string, uint16_t>>;

void ExpectIds(const Cases& cases) {
    for (const auto& [name, id] : cases)
        EXPECT_EQ(LangIdFromLocaleName(name), id) << '"' << name << '"';
}

TEST(LocaleLangIdTest, TheCatalogueLanguagesInTheirTerritories) {
    ExpectIds({{"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"zh_CN", 0x0804}, {"zh_SG", 0x1004}, {"zh_MO", 0x1404},
               {"de_DE", 0x0407}, {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"de_LU", 0x1007}, {"de_LI", 0x1407},
               {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
               {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_IN", 0x4009}, {"en_SG", 0x4809},
               {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
               {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"ko_KR", 0x0412}, {"nl_NL", 0x0413}, {"nl_BE", 0x0813},
               {"ru_RU", 0x0419}, {"ru_MD", 0x0819}, {"tr_TR", 0x041F}, {"uk_UA", 0x0422},
               {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_AR", 0x2C0A}, {"es_CO", 0x240A}, {"es_CL", 0x340A},
               {"es_US", 0x540A}, {"es_419", 0x580A}});
}

TEST(LocaleLangIdTest, OtherLanguagesKeepTheirOwnIdentifiers) {
    // The program shows English for these, but only because it knows their identifiers.
    ExpectIds({{"ja_JP", 0x0411}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"pl_PL", 0x0415}, {"sv_SE", 0x041D},
               {"sv_FI", 0x081D}, {"cs_CZ", 0x0405}, {"da_DK", 0x0406}, {"fi_FI", 0x040B}, {"nb_NO", 0x0414},
               {"nn_NO", 0x0814}, {"el_GR", 0x0408}, {"he_IL", 0x040D}, {"hu_HU", 0x040E}, {"ar_SA", 0x0401},
               {"ar_EG", 0x0C01}, {"th_TH", 0x041E}, {"vi_VN", 0x042A}, {"ga_IE", 0x083C}, {"ca_ES", 0x0403},
               {"fil_PH", 0x0464}, {"hsb_DE", 0x042E}});
}

TEST(LocaleLangIdTest, CodesetsAndOtherModifiersDoNotChangeTheLanguage) {
    ExpectIds({{"de_DE.UTF-8", 0x0407}, {"de_DE.utf8", 0x0407}, {"de_DE@euro", 0x0407},
               {"de_AT.ISO-8859-15@euro", 0x0C07}, {"zh_HK.Big5-HKSCS", 0x0C04}, {"es_MX@traditional", 0x080A}});
}

TEST(LocaleLangIdTest, ModifiersNamingASortOrScriptChooseTheSublanguage) {
    ExpectIds({{"es_ES@traditional", 0x040A}, {"es_ES.UTF-8@traditional", 0x040A}, {"sr_RS", 0x281A},
               {"sr_RS@latin", 0x241A}, {"sr_ME", 0x301A}, {"sr_ME@latin", 0x2C1A}, {"uz_UZ", 0x0443},
               {"uz_UZ@cyrillic", 0x0843}, {"ca_ES@valencia", 0x0803}, {"az_AZ@cyrillic", 0x082C},
               // A territory Windows does not know keeps the script.
               {"sr_BA@latin", 0x241A}, {"sr@latin", 0x241A}});
}

TEST(LocaleLangIdTest, WithoutAKnownTerritoryTheLanguagesDefault) {
    ExpectIds({{"de", 0x0407}, {"zh", 0x0804}, {"es", 0x0C0A}, {"en", 0x0409}, {"fr", 0x040C}, {"it", 0x0410},
               {"nl", 0x0413}, {"ru", 0x0419}, {"ko", 0x0412}, {"tr", 0x041F}, {"uk", 0x0422}, {"pt", 0x0816},
               {"sr", 0x281A}, {"de.UTF-8", 0x0407}, {"es@traditional", 0x040A},
               // Territories without an identifier of their own.
               {"de_BE", 0x0407}, {"de_IT", 0x0407}, {"ru_UA", 0x0419}, {"nl_AW", 0x0413}, {"en_DK", 0x0409},
               {"zh_XX", 0x0804}});
}

TEST(LocaleLangIdTest, OldAndOddlyCasedNamesStillCount) {
    ExpectIds({{"iw_IL", 0x040D}, {"in_ID", 0x0421}, {"no_NO", 0x0414}, {"de_de", 0x0407}, {"DE_DE", 0x0407},
               {"Zh_Tw.UTF-8", 0x0404}});
}

TEST(LocaleLangIdTest, NoLanguageOrNoSenseIsEnglishUnitedStates) {
    ExpectIds({{"", 0x0409}, {"C", 0x0409}, {"C.UTF-8", 0x0409}, {"C.utf8", 0x0409}, {"POSIX", 0x0409},
               {"xx_YY", 0x0409}, {"qq", 0x0409}, {"german", 0x0409}, {"deutsch_DE", 0x0409}, {"d", 0x0409},
               {"de_", 0x0409}, {"_DE", 0x0409}, {"de__DE", 0x0409}, {"de_DEU", 0x0409}, {"de_D", 0x0409},
               {"de_12", 0x0409}, {"de-DE", 0x0409}, {"de DE", 0x0409}, {" de_DE", 0x0409}, {"de_DE.", 0x0409},
               {"de_DE@", 0x0409}, {"de_DE@euro.UTF-8", 0x0409}, {"de_DE.UTF 8", 0x0409}, {"de_DE:fr_FR", 0x0409},
               {"de_DE\n", 0x0409}, {"/usr/lib/locale/de_DE", 0x0409}});
}

TEST(LocaleLangIdTest, AnyBytesAtAnyLengthAnswerSafely) {
    EXPECT_EQ(LangIdFromLocaleName(std::string_view("de_DE\0fr", 8)), 0x0409);
    EXPECT_EQ(LangIdFromLocaleName("de_DE." + std::string(100000, 'x')), 0x0407);
    EXPECT_EQ(LangIdFromLocaleName("de_DE" + std::string(100000, '\xFF')), 0x0409);
    EXPECT_EQ(LangIdFromLocaleName(std::string(100000, '@')), 0x0409);
    EXPECT_EQ(LangIdFromLocaleName("de_DE.\xC3\xA4"), 0x0409);
    // Every byte in every place of a full name; the sanitizer build reads this for stray reads.
    const std::string full = "zh_TW.UTF-8@euro";
    for (size_t at = 0; at < full.size(); ++at) {
        for (int byte = 0; byte < 256; ++byte) {
            std::string name = full;
            name[at] = static_cast<char>(byte);
            const uint16_t id = LangIdFromLocaleName(name);
            EXPECT_NE(id & 0x3FF, 0) << "byte " << byte << " at " << at;
            if (byte >= 0x80) {
                EXPECT_EQ(id, 0x0409) << "byte " << byte << " at " << at;
            }
        }
    }
}

}  // namespace
