// Screen metrics, the pointer, cursors and fonts of native controls, read back from GTK.
#include "FontMapping.h"
#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

TEST_F(GtkHostTest, ScreenMetricsAndThePointerComeFromTheDisplay) {
    // The virtual display is one 1280 x 1024 screen with no panels.
    EXPECT_EQ(host.GetPrimaryScreen(), Rect::FromXYWH(0, 0, 1280, 1024));
    EXPECT_EQ(host.GetVirtualScreen(), Rect::FromXYWH(0, 0, 1280, 1024));
    EXPECT_EQ(host.GetWorkArea(), Rect::FromXYWH(0, 0, 1280, 1024));
    MovePointer({321, 234});
    EXPECT_TRUE(PumpUntil([&] { return host.GetCursorPos() == Point{321, 234}; }));
}

TEST_F(GtkHostTest, TheCursorIsSetOnEveryTopLevelWindowIncludingLaterOnes) {
    const WindowHandle first = TopLevel(Rect::FromXYWH(0, 0, 100, 100));
    ShowAndWait(first);
    host.SetCursor(platform::CursorKind::Wait);
    const WindowHandle later = TopLevel(Rect::FromXYWH(200, 0, 100, 100));
    ShowAndWait(later);
    for (const WindowHandle h : {first, later}) {
        GdkCursor* cursor = gdk_window_get_cursor(gtk_widget_get_window(Widget(h)));
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(gdk_cursor_get_cursor_type(cursor), GDK_WATCH);
    }
    host.SetCursor(platform::CursorKind::Arrow);
    EXPECT_EQ(gdk_window_get_cursor(gtk_widget_get_window(Widget(first))), nullptr);
}

TEST_F(GtkHostTest, ANativeControlShowsTheFontItWasGiven) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(0, 0, 200, 100));
    const WindowHandle button = Child(top, WindowKind::PushButton, Rect::FromXYWH(10, 10, 120, 23), L"OK");
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(Widget(button)));
    const auto labelFont = [&] {
        PangoFontDescription* font = nullptr;
        gtk_style_context_get(gtk_widget_get_style_context(label), GTK_STATE_FLAG_NORMAL, "font", &font, nullptr);
        return platform::PangoFontPtr(font);
    };
    EXPECT_STREQ(pango_font_description_get_family(labelFont().get()), "Liberation Sans,DejaVu Sans")
        << "the dialog font from the start";
    host.SetFont(button, platform::FontDesc{L"Arial", -16, 0, 700});
    const platform::PangoFontPtr font = labelFont();
    EXPECT_EQ(pango_font_description_get_weight(font.get()), PANGO_WEIGHT_BOLD);
    // CSS sizes are in points at 96 dpi: 16 px is 12 pt.
    EXPECT_EQ(pango_font_description_get_size(font.get()), 12 * PANGO_SCALE);
}

}  // namespace
}  // namespace vt
