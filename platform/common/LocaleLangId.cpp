#include "platform/LocaleLangId.h"

#include <optional>
#include <string>
#include <utility>

namespace platform {
namespace {

struct LocaleId {
    std::string_view language;   // ISO 639, lower case
    std::string_view territory;  // ISO 3166, upper case
    std::string_view modifier;   // empty: the plain locale
    uint16_t langId;
};

// Windows' own identifiers, primary language in the low ten bits. Within a language the first
// row is its default, and the first row with a modifier is that modifier's default.
constexpr LocaleId kLocaleIds[] = {
    {"af", "ZA", "", 0x0436},
    {"am", "ET", "", 0x045E},
    {"ar", "SA", "", 0x0401}, {"ar", "IQ", "", 0x0801}, {"ar", "EG", "", 0x0C01}, {"ar", "LY", "", 0x1001},
    {"ar", "DZ", "", 0x1401}, {"ar", "MA", "", 0x1801}, {"ar", "TN", "", 0x1C01}, {"ar", "OM", "", 0x2001},
    {"ar", "YE", "", 0x2401}, {"ar", "SY", "", 0x2801}, {"ar", "JO", "", 0x2C01}, {"ar", "LB", "", 0x3001},
    {"ar", "KW", "", 0x3401}, {"ar", "AE", "", 0x3801}, {"ar", "BH", "", 0x3C01}, {"ar", "QA", "", 0x4001},
    {"as", "IN", "", 0x044D},
    {"az", "AZ", "", 0x042C}, {"az", "AZ", "cyrillic", 0x082C},
    {"be", "BY", "", 0x0423},
    {"bg", "BG", "", 0x0402},
    {"bn", "BD", "", 0x0845}, {"bn", "IN", "", 0x0445},
    {"bo", "CN", "", 0x0451},
    {"br", "FR", "", 0x047E},
    {"bs", "BA", "", 0x141A},
    {"ca", "ES", "", 0x0403}, {"ca", "ES", "valencia", 0x0803},
    {"cs", "CZ", "", 0x0405},
    {"cy", "GB", "", 0x0452},
    {"da", "DK", "", 0x0406},
    {"de", "DE", "", 0x0407}, {"de", "CH", "", 0x0807}, {"de", "AT", "", 0x0C07}, {"de", "LU", "", 0x1007},
    {"de", "LI", "", 0x1407},
    {"dsb", "DE", "", 0x082E},
    {"el", "GR", "", 0x0408},
    {"en", "US", "", 0x0409}, {"en", "GB", "", 0x0809}, {"en", "AU", "", 0x0C09}, {"en", "CA", "", 0x1009},
    {"en", "NZ", "", 0x1409}, {"en", "IE", "", 0x1809}, {"en", "ZA", "", 0x1C09}, {"en", "JM", "", 0x2009},
    {"en", "BZ", "", 0x2809}, {"en", "TT", "", 0x2C09}, {"en", "ZW", "", 0x3009}, {"en", "PH", "", 0x3409},
    {"en", "HK", "", 0x3C09}, {"en", "IN", "", 0x4009}, {"en", "MY", "", 0x4409}, {"en", "SG", "", 0x4809},
    {"es", "ES", "", 0x0C0A}, {"es", "ES", "traditional", 0x040A}, {"es", "MX", "", 0x080A},
    {"es", "GT", "", 0x100A}, {"es", "CR", "", 0x140A}, {"es", "PA", "", 0x180A}, {"es", "DO", "", 0x1C0A},
    {"es", "VE", "", 0x200A}, {"es", "CO", "", 0x240A}, {"es", "PE", "", 0x280A}, {"es", "AR", "", 0x2C0A},
    {"es", "EC", "", 0x300A}, {"es", "CL", "", 0x340A}, {"es", "UY", "", 0x380A}, {"es", "PY", "", 0x3C0A},
    {"es", "BO", "", 0x400A}, {"es", "SV", "", 0x440A}, {"es", "HN", "", 0x480A}, {"es", "NI", "", 0x4C0A},
    {"es", "PR", "", 0x500A}, {"es", "US", "", 0x540A}, {"es", "419", "", 0x580A}, {"es", "CU", "", 0x5C0A},
    {"et", "EE", "", 0x0425},
    {"eu", "ES", "", 0x042D},
    {"fa", "IR", "", 0x0429},
    {"fi", "FI", "", 0x040B},
    {"fil", "PH", "", 0x0464},
    {"fo", "FO", "", 0x0438},
    {"fr", "FR", "", 0x040C}, {"fr", "BE", "", 0x080C}, {"fr", "CA", "", 0x0C0C}, {"fr", "CH", "", 0x100C},
    {"fr", "LU", "", 0x140C}, {"fr", "MC", "", 0x180C},
    {"fy", "NL", "", 0x0462},
    {"ga", "IE", "", 0x083C},
    {"gd", "GB", "", 0x0491},
    {"gl", "ES", "", 0x0456},
    {"gu", "IN", "", 0x0447},
    {"ha", "NG", "", 0x0468},
    {"he", "IL", "", 0x040D},
    {"hi", "IN", "", 0x0439},
    {"hr", "HR", "", 0x041A}, {"hr", "BA", "", 0x101A},
    {"hsb", "DE", "", 0x042E},
    {"hu", "HU", "", 0x040E},
    {"hy", "AM", "", 0x042B},
    {"id", "ID", "", 0x0421},
    {"ig", "NG", "", 0x0470},
    {"is", "IS", "", 0x040F},
    {"it", "IT", "", 0x0410}, {"it", "CH", "", 0x0810},
    {"ja", "JP", "", 0x0411},
    {"ka", "GE", "", 0x0437},
    {"kk", "KZ", "", 0x043F},
    {"kl", "GL", "", 0x046F},
    {"km", "KH", "", 0x0453},
    {"kn", "IN", "", 0x044B},
    {"ko", "KR", "", 0x0412},
    {"kok", "IN", "", 0x0457},
    {"ky", "KG", "", 0x0440},
    {"lb", "LU", "", 0x046E},
    {"lo", "LA", "", 0x0454},
    {"lt", "LT", "", 0x0427},
    {"lv", "LV", "", 0x0426},
    {"mi", "NZ", "", 0x0481},
    {"mk", "MK", "", 0x042F},
    {"ml", "IN", "", 0x044C},
    {"mn", "MN", "", 0x0450},
    {"mr", "IN", "", 0x044E},
    {"ms", "MY", "", 0x043E}, {"ms", "BN", "", 0x083E},
    {"mt", "MT", "", 0x043A},
    {"nb", "NO", "", 0x0414},
    {"ne", "NP", "", 0x0461},
    {"nl", "NL", "", 0x0413}, {"nl", "BE", "", 0x0813},
    {"nn", "NO", "", 0x0814},
    {"nso", "ZA", "", 0x046C},
    {"oc", "FR", "", 0x0482},
    {"or", "IN", "", 0x0448},
    {"pa", "IN", "", 0x0446},
    {"pl", "PL", "", 0x0415},
    {"ps", "AF", "", 0x0463},
    // Bare "pt" is European Portuguese in gettext's catalogues, so Portugal leads here.
    {"pt", "PT", "", 0x0816}, {"pt", "BR", "", 0x0416},
    {"rm", "CH", "", 0x0417},
    {"ro", "RO", "", 0x0418}, {"ro", "MD", "", 0x0818},
    {"ru", "RU", "", 0x0419}, {"ru", "MD", "", 0x0819},
    {"rw", "RW", "", 0x0487},
    {"sa", "IN", "", 0x044F},
    {"se", "NO", "", 0x043B}, {"se", "SE", "", 0x083B}, {"se", "FI", "", 0x0C3B},
    {"si", "LK", "", 0x045B},
    {"sk", "SK", "", 0x041B},
    {"sl", "SI", "", 0x0424},
    {"sq", "AL", "", 0x041C},
    // glibc writes Serbian in Cyrillic unless the modifier says Latin.
    {"sr", "RS", "", 0x281A}, {"sr", "RS", "latin", 0x241A}, {"sr", "ME", "", 0x301A},
    {"sr", "ME", "latin", 0x2C1A},
    {"sv", "SE", "", 0x041D}, {"sv", "FI", "", 0x081D},
    {"sw", "KE", "", 0x0441},
    {"ta", "IN", "", 0x0449}, {"ta", "LK", "", 0x0849},
    {"te", "IN", "", 0x044A},
    {"tg", "TJ", "", 0x0428},
    {"th", "TH", "", 0x041E},
    {"ti", "ET", "", 0x0473}, {"ti", "ER", "", 0x0873},
    {"tk", "TM", "", 0x0442},
    {"tn", "ZA", "", 0x0432},
    {"tr", "TR", "", 0x041F},
    {"tt", "RU", "", 0x0444},
    {"ug", "CN", "", 0x0480},
    {"uk", "UA", "", 0x0422},
    {"ur", "PK", "", 0x0420}, {"ur", "IN", "", 0x0820},
    // glibc writes Uzbek in Latin unless the modifier says Cyrillic.
    {"uz", "UZ", "", 0x0443}, {"uz", "UZ", "cyrillic", 0x0843},
    {"vi", "VN", "", 0x042A},
    {"wo", "SN", "", 0x0488},
    {"xh", "ZA", "", 0x0434},
    {"yo", "NG", "", 0x046A},
    // Without territory Chinese means the simplified script of the PRC.
    {"zh", "CN", "", 0x0804}, {"zh", "TW", "", 0x0404}, {"zh", "HK", "", 0x0C04}, {"zh", "SG", "", 0x1004},
    {"zh", "MO", "", 0x1404},
    {"zu", "ZA", "", 0x0435},
};

// Codes glibc's locale.alias still accepts for languages that were renamed.
constexpr std::pair<std::string_view, std::string_view> kLanguageAliases[] = {
    {"in", "id"}, {"iw", "he"}, {"no", "nb"}};

struct LocaleParts {
    std::string language, territory, modifier;
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char ToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsAllOf(std::string_view text, bool (*test)(char)) {
    for (char c : text)
        if (!test(c)) return false;
    return true;
}

// Codesets ("UTF-8", "ISO-8859-15") and modifiers ("euro", "latin") are short words.
bool IsWord(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '-' && c != '_') return false;
    return true;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToLower(c);
    return out;
}

std::optional<LocaleParts> SplitLocaleName(std::string_view name) {
    LocaleParts parts;
    if (const size_t at = name.find('@'); at != std::string_view::npos) {
        if (!IsWord(name.substr(at + 1))) return std::nullopt;
        parts.modifier = Lowered(name.substr(at + 1));
        name = name.substr(0, at);
    }
    if (const size_t dot = name.find('.'); dot != std::string_view::npos) {
        if (!IsWord(name.substr(dot + 1))) return std::nullopt;
        name = name.substr(0, dot);
    }
    std::string_view territory;
    if (const size_t underscore = name.find('_'); underscore != std::string_view::npos) {
        territory = name.substr(underscore + 1);
        name = name.substr(0, underscore);
        const bool country = territory.size() == 2 && IsAllOf(territory, IsAsciiLetter);
        const bool region = territory.size() == 3 && IsAllOf(territory, IsAsciiDigit);
        if (!country && !region) return std::nullopt;
    }
    if (name.size() < 2 || name.size() > 3 || !IsAllOf(name, IsAsciiLetter)) return std::nullopt;
    parts.language = Lowered(name);
    for (const auto& [old, current] : kLanguageAliases)
        if (parts.language == old) parts.language = current;
    parts.territory = territory;
    for (char& c : parts.territory) c = ToUpper(c);
    return parts;
}

const LocaleId* Find(std::string_view language, const std::string_view* territory, std::string_view modifier) {
    for (const LocaleId& entry : kLocaleIds)
        if (entry.language == language && (!territory || entry.territory == *territory) &&
            entry.modifier == modifier)
            return &entry;
    return nullptr;
}

}  // namespace

uint16_t LangIdFromLocaleName(std::string_view name) {
    const std::optional<LocaleParts> parts = SplitLocaleName(name);
    if (!parts) return kLangIdEnglishUnitedStates;
    const std::string_view territory = parts->territory;
    // Most specific first: a modifier that changes nothing here ("@euro") is dropped before the
    // territory is, and an unknown territory keeps a script the modifier names.
    const LocaleId* found = Find(parts->language, &territory, parts->modifier);
    if (!found) found = Find(parts->language, &territory, "");
    if (!found) found = Find(parts->language, nullptr, parts->modifier);
    if (!found) found = Find(parts->language, nullptr, "");
    return found ? found->langId : kLangIdEnglishUnitedStates;
}

}  // namespace platform
