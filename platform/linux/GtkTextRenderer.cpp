#include "GtkTextRenderer.h"

#include <pango/pangocairo.h>

#include <algorithm>

#include "BitmapCairo.h"
#include "FontMapping.h"
#include "Mnemonics.h"

namespace platform {
namespace {

// Grey-scale smoothing: sub-pixel colour fringes would show on the program's flat backgrounds.
void UseGreyscale(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

void SetText(PangoLayout* layout, std::wstring_view text, bool singleLine) {
    std::wstring shown(text);
    // On one line, line breaks show as nothing rather than as a second line.
    if (singleLine) std::erase_if(shown, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
    const PrefixedText resolved = ResolvePrefixes(shown);
    pango_layout_set_text(layout, resolved.utf8.c_str(), int(resolved.utf8.size()));
    if (resolved.underlined.empty()) return;
    PangoAttrList* attributes = pango_attr_list_new();
    for (const auto& range : resolved.underlined) {
        PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        underline->start_index = range.start;
        underline->end_index = range.end;
        pango_attr_list_insert(attributes, underline);
    }
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
}

}  // namespace

GtkTextRenderer::GtkTextRenderer()
    : m_measuring(GRefPtr<PangoContext>::Adopt(pango_font_map_create_context(pango_cairo_font_map_get_default()))) {
    UseGreyscale(m_measuring.get());
}

void GtkTextRenderer::DrawText(Bitmap& target, const Rect& clip, std::wstring_view text, const Rect& box,
                               const TextStyle& style) {
    // As DrawText does without DT_NOCLIP, nothing is drawn outside the box.
    const Rect visible = clip.Intersect(box).Intersect(target.Bounds());
    if (visible.IsEmpty() || text.empty()) return;

    cairo_surface_t* surface = CreateCairoSurface(target);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, visible.left, visible.top, visible.Width(), visible.Height());
    cairo_clip(cr);

    auto ownedLayout = AdoptGRef(pango_cairo_create_layout(cr));
    PangoLayout* layout = ownedLayout.get();
    UseGreyscale(pango_layout_get_context(layout));
    pango_layout_context_changed(layout);
    const PangoFontPtr font = ToPangoFont(style.font);
    pango_layout_set_font_description(layout, font.get());

    const bool singleLine = style.format & kTextSingleLine;
    SetText(layout, text, singleLine);
    if (style.format & kTextWordBreak && !singleLine) {
        pango_layout_set_width(layout, box.Width() * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    const PangoAlignment alignment = style.format & kTextCenter  ? PANGO_ALIGN_CENTER
                                     : style.format & kTextRight ? PANGO_ALIGN_RIGHT
                                                                 : PANGO_ALIGN_LEFT;
    pango_layout_set_alignment(layout, alignment);

    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    // A wrapped layout is as wide as the box and aligns its lines inside it; otherwise the
    // block of lines is placed in the box here.
    double x = box.left;
    if (pango_layout_get_width(layout) < 0) {
        if (alignment == PANGO_ALIGN_CENTER) x = box.left + (box.Width() - width) / 2;
        else if (alignment == PANGO_ALIGN_RIGHT) x = box.right - width;
    }
    // Vertical placement applies to single lines only, as with DrawText.
    double y = box.top;
    if (singleLine && style.format & kTextVCenter) y = box.top + (box.Height() - height) / 2;
    else if (singleLine && style.format & kTextBottom) y = box.bottom - height;

    cairo_set_source_rgb(cr, style.color.r / 255.0, style.color.g / 255.0, style.color.b / 255.0);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);

    ownedLayout.reset();
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    ClearUnusedByte(target, visible);
}


Size GtkTextRenderer::MeasureText(std::wstring_view text, const FontDesc& font) {
    auto layout = AdoptGRef(pango_layout_new(m_measuring.get()));
    const PangoFontPtr desc = ToPangoFont(font);
    pango_layout_set_font_description(layout.get(), desc.get());
    SetText(layout.get(), text, false);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    return {width, height};
}

}  // namespace platform
