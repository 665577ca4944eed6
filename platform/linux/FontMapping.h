// Logical fonts of the program (Windows face names, pixel heights) as fonts this machine has.
#pragma once

#include <pango/pango.h>

#include <memory>
#include <string>

#include "platform/Types.h"

namespace platform {

struct MappedFont {
    std::string families;  // a Pango family list, best first
    double pixelSize = 11;  // em size
    bool bold = false;
    bool italic = false;
};

MappedFont MapFont(const FontDesc& font);

struct PangoFontDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using PangoFontPtr = std::unique_ptr<PangoFontDescription, PangoFontDeleter>;

PangoFontPtr ToPangoFont(const FontDesc& font);
// A CSS declaration block for a native control showing the font.
std::string ToCss(const FontDesc& font);

}  // namespace platform
