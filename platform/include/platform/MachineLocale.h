// Which locale names the machine's language, from the places Linux keeps it. Pure: the caller
// reads the places, so every order and every odd text can be tried without a bus or a file.
#pragma once

#include <string>
#include <vector>

namespace platform {

// What each place says; a place that could not be read is left empty.
struct MachineLocaleSources {
    // org.freedesktop.locale1's Locale property: "LANG=de_DE.UTF-8", "LC_MESSAGES=fr_FR.UTF-8", …
    std::vector<std::string> locale1;
    // The texts of the machine's locale files, shell-style assignments, in the order to ask them.
    std::vector<std::string> localeFiles;
    // The process's own environment.
    std::string lcAll, lcMessages, lang;
};

// locale1's locale, else the first file's that names one, else the process's. Within each,
// LC_ALL beats LC_MESSAGES beats LANG, as they do for the messages a program shows, and an
// empty value counts as unset. Empty when no place names a locale.
[[nodiscard]] std::string ChooseMachineLocale(const MachineLocaleSources& sources);

}  // namespace platform
