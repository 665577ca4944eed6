#include "FontMapping.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <locale>
#include <sstream>

#include "platform/Strings.h"

namespace platform {
namespace {

std::wstring Lower(std::wstring_view s) {
    std::wstring out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
    return out;
}

// The metric-compatible Liberation faces stand in for the Windows ones, so text takes the room
// the dialogs were laid out for.
std::string FamiliesFor(std::wstring_view face) {
    const std::wstring name = Lower(face);
    if (name == L"courier new" || name == L"courier") return "Liberation Mono,DejaVu Sans Mono";
    if (name == L"times new roman") return "Liberation Serif,DejaVu Serif";
    if (name.empty() || name == L"ms shell dlg" || name == L"ms shell dlg 2" || name == L"ms sans serif" ||
        name == L"microsoft sans serif" || name == L"tahoma" || name == L"arial" || name == L"segoe ui")
        return "Liberation Sans,DejaVu Sans";
    return ToUtf8(face) + ",Liberation Sans,DejaVu Sans";
}

}  // namespace

MappedFont MapFont(const FontDesc& font) {
    MappedFont mapped;
    mapped.families = FamiliesFor(font.face);
    // A positive height is the whole cell, internal leading included; the em is about 0.8 of it.
    if (font.height < 0) mapped.pixelSize = -font.height;
    else if (font.height > 0) mapped.pixelSize = std::max(1.0, std::round(font.height * 0.8));
    mapped.bold = font.weight >= 600;
    mapped.italic = font.italic;
    return mapped;
}

PangoFontPtr ToPangoFont(const FontDesc& font) {
    const MappedFont mapped = MapFont(font);
    PangoFontPtr desc(pango_font_description_new());
    pango_font_description_set_family(desc.get(), mapped.families.c_str());
    pango_font_description_set_absolute_size(desc.get(), mapped.pixelSize * PANGO_SCALE);
    pango_font_description_set_weight(desc.get(), mapped.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc.get(), mapped.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return desc;
}

std::string ToCss(const FontDesc& font) {
    const MappedFont mapped = MapFont(font);
    std::ostringstream css;
    css.imbue(std::locale::classic());  // a decimal point whatever the user's locale
    css << "font-family: ";
    std::istringstream families(mapped.families);
    std::string family;
    for (bool first = true; std::getline(families, family, ','); first = false) {
        if (!first) css << ", ";
        css << '"';
        for (char c : family)
            if (c != '"' && c != '\\') css << c;
        css << '"';
    }
    css << "; font-size: " << mapped.pixelSize << "px; font-weight: " << (mapped.bold ? "bold" : "normal")
        << "; font-style: " << (mapped.italic ? "italic" : "normal") << ";";
    return css.str();
}

}  // namespace platform
