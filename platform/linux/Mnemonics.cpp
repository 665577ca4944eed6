#include "Mnemonics.h"

#include "platform/Strings.h"

namespace platform {

std::string ToGtkMnemonic(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'_') {
            out += L"__";
        } else if (text[i] != L'&') {
            out += text[i];
        } else if (i + 1 < text.size()) {
            ++i;
            if (text[i] == L'&') out += L'&';
            else if (text[i] == L'_') out += L"___";  // the access key is an underscore itself
            else out += {L'_', text[i]};
        }
    }
    return ToUtf8(out);
}

PrefixedText ResolvePrefixes(std::wstring_view text) {
    PrefixedText result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            result.utf8 += ToUtf8(text.substr(i, 1));
            continue;
        }
        if (++i == text.size()) break;
        const auto start = unsigned(result.utf8.size());
        result.utf8 += ToUtf8(text.substr(i, 1));
        if (text[i] != L'&') result.underlined.push_back({start, unsigned(result.utf8.size())});
    }
    return result;
}

}  // namespace platform
