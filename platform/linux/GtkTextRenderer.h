// Text drawn with Pango into the program's bitmaps, in the machine's stand-ins for the program's
// Windows fonts.
#pragma once

#include <pango/pango.h>

#include "GRefPtr.h"
#include "platform/Surface.h"

namespace platform {

class GtkTextRenderer final : public ITextRenderer {
public:
    GtkTextRenderer();

    void DrawText(Bitmap& target, const Rect& clip, std::wstring_view text, const Rect& box,
                  const TextStyle& style) override;
    Size MeasureText(std::wstring_view text, const FontDesc& font) override;

private:
    GRefPtr<PangoContext> m_measuring;
};

}  // namespace platform
