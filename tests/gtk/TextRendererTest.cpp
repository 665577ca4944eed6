// Text lands in the box in the asked colour and alignment, wraps only when asked, and the
// program's Windows fonts map onto faces this machine has.
#include "FontMapping.h"
#include "GtkTextRenderer.h"
#include "GtkTestSupport.h"

namespace vt {
namespace {

constexpr Color kWhite{255, 255, 255};

struct Ink {
    int count = 0;
    Rect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
};

// Where the bitmap is no longer white.
Ink InkOf(const platform::Bitmap& b, const Rect& area) {
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (b.At(x, y) != kWhite) {
                ++ink.count;
                ink.bounds = {std::min(ink.bounds.left, x), std::min(ink.bounds.top, y), std::max(ink.bounds.right, x + 1),
                              std::max(ink.bounds.bottom, y + 1)};
            }
    return ink;
}

class TextRendererTest : public ::testing::Test {
protected:
    Ink Draw(std::wstring_view text, const Rect& box, unsigned format, Rect clip = {0, 0, 300, 200}) {
        bitmap = platform::Bitmap(300, 200, kWhite);
        platform::TextStyle style;
        style.color = {0, 0, 200};
        style.format = format;
        renderer.DrawText(bitmap, clip, text, box, style);
        return InkOf(bitmap, bitmap.Bounds());
    }
    platform::GtkTextRenderer renderer;
    platform::Bitmap bitmap;
};

TEST_F(TextRendererTest, DrawsInTheColourInsideTheBoxAndClip) {
    const Rect box = Rect::FromXYWH(20, 20, 200, 30);
    const Ink ink = Draw(L"Hello, camera", box, platform::kTextSingleLine);
    ASSERT_GT(ink.count, 30);
    EXPECT_EQ(ink.bounds.Intersect(box), ink.bounds);
    bool sawPureColour = false;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) sawPureColour |= bitmap.At(x, y) == Color{0, 0, 200};
    EXPECT_TRUE(sawPureColour);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) ASSERT_EQ(bitmap.Row(y)[x] >> 24, 0u) << "the unused byte stays zero";

    const Ink clipped = Draw(L"Hello, camera", box, platform::kTextSingleLine, Rect::FromXYWH(0, 0, 40, 200));
    EXPECT_GT(clipped.count, 0);
    EXPECT_LE(clipped.bounds.right, 40);
    EXPECT_EQ(Draw(L"Hello", Rect::FromXYWH(20, 20, 0, 30), 0).count, 0) << "an empty box shows nothing";
}

TEST_F(TextRendererTest, AlignsHorizontallyAndVerticallyOnSingleLines) {
    const Rect box = Rect::FromXYWH(10, 10, 280, 100);
    using namespace platform;
    const Ink left = Draw(L"Rec", box, kTextSingleLine);
    const Ink centre = Draw(L"Rec", box, kTextSingleLine | kTextCenter | kTextVCenter);
    const Ink right = Draw(L"Rec", box, kTextSingleLine | kTextRight | kTextBottom);
    EXPECT_LT(left.bounds.left, 20);
    EXPECT_LT(left.bounds.top, 30);
    EXPECT_NEAR((centre.bounds.left + centre.bounds.right) / 2, 150, 3);
    EXPECT_NEAR((centre.bounds.top + centre.bounds.bottom) / 2, 60, 4);
    EXPECT_GT(right.bounds.right, 282);
    EXPECT_GT(right.bounds.bottom, 95);
    // As with DrawText, vertical placement needs a single line.
    EXPECT_LT(Draw(L"Rec", box, kTextVCenter).bounds.top, 30);
}

TEST_F(TextRendererTest, WrapsOnlyWhenAskedAndHonoursAccessKeyMarks) {
    const Rect box = Rect::FromXYWH(10, 10, 90, 150);
    const std::wstring text = L"Video recording will be stopped now";
    const Ink wrapped = Draw(text, box, platform::kTextWordBreak);
    const Ink oneLine = Draw(text, box, platform::kTextSingleLine | platform::kTextWordBreak);
    EXPECT_GT(wrapped.bounds.Height(), 2 * oneLine.bounds.Height());
    EXPECT_EQ(oneLine.bounds.right, box.right) << "one line runs into the box's edge and is cut";

    const platform::FontDesc font;
    EXPECT_EQ(renderer.MeasureText(L"&Save", font), renderer.MeasureText(L"Save", font));
    EXPECT_EQ(renderer.MeasureText(L"A&B", font), renderer.MeasureText(L"AB", font));
    EXPECT_GT(renderer.MeasureText(L"A&&B", font).cx, renderer.MeasureText(L"AB", font).cx) << "&& is an ampersand";
    const Ink plain = Draw(L"Save", box, platform::kTextSingleLine);
    const Ink marked = Draw(L"&Save", box, platform::kTextSingleLine);
    EXPECT_GT(marked.bounds.bottom, plain.bounds.bottom) << "the access key is underlined";
}

TEST(FontMappingTest, WindowsFontsBecomeLocalFontsOfTheSameSize) {
    using platform::FontDesc;
    EXPECT_EQ(platform::MapFont(FontDesc{L"Arial", 20}).pixelSize, 16) << "a positive height is the cell";
    EXPECT_EQ(platform::ToCss(FontDesc{L"Tahoma", -13, 0, 600, true}),
              "font-family: \"Liberation Sans\", \"DejaVu Sans\"; font-size: 13px; font-weight: bold; font-style: italic;");
    platform::GtkTextRenderer renderer;
    const platform::Size normal = renderer.MeasureText(L"Snapshot", FontDesc{});
    EXPECT_GT(renderer.MeasureText(L"Snapshot", FontDesc{L"MS Shell Dlg", -11, 0, 700}).cx, normal.cx);
    EXPECT_GT(renderer.MeasureText(L"Snapshot", FontDesc{L"MS Shell Dlg", -22}).cy, normal.cy * 3 / 2);
    EXPECT_TRUE(normal.cx > 30 && normal.cx < 60) << "an 11-pixel sans face, not a default 10-point one: " << normal.cx;
}

}  // namespace
}  // namespace vt
