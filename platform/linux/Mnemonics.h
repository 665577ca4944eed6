// The program marks access keys with '&' ("&Save", "&&" for a plain ampersand), as the classic
// controls and DrawText do; GTK marks them with '_'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Label text for gtk_label_set_text_with_mnemonic.
std::string ToGtkMnemonic(std::wstring_view text);

// The text as drawn, in UTF-8, and the byte ranges of the characters shown underlined.
struct PrefixedText {
    std::string utf8;
    struct Range {
        unsigned start;
        unsigned end;
    };
    std::vector<Range> underlined;
};
PrefixedText ResolvePrefixes(std::wstring_view text);

}  // namespace platform
