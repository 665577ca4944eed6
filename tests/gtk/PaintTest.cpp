// What the program paints reaches the screen: the client area under its children, canvases on
// top, the frame around; and Invalidate paints again.
#include <map>

#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

constexpr Color kClientColour{200, 16, 32};
constexpr Color kCanvasColour{16, 180, 40};
constexpr Color kRepaintColour{40, 60, 220};

TEST_F(GtkHostTest, PaintingReachesTheScreen) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(100, 100, 300, 200));
    const WindowHandle canvas = Child(top, WindowKind::Canvas, Rect::FromXYWH(40, 30, 50, 40));
    Color canvasColour = kCanvasColour;
    platform::Size canvasSize;
    sink.onPaint = [&](WindowHandle h, platform::Surface& s) {
        if (h == canvas) canvasSize = s.GetSize();
        s.FillRect({0, 0, s.GetSize().cx, s.GetSize().cy}, h == canvas ? canvasColour : kClientColour);
    };
    ShowAndWait(top);

    const Point client = ClientOrigin(top);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel({client.x + 45, client.y + 35}) == kCanvasColour; }));
    EXPECT_EQ(ScreenPixel({client.x + 89, client.y + 69}), kCanvasColour) << "the canvas's last pixel";
    EXPECT_EQ(ScreenPixel({client.x + 90, client.y + 35}), kClientColour) << "just right of the canvas";
    EXPECT_EQ(ScreenPixel({client.x + 5, client.y + 150}), kClientColour);
    EXPECT_EQ(canvasSize, (platform::Size{50, 40}));
    // The caption is ours: the left end of a blue (active) or grey (inactive) bar, neither the
    // client's colour nor the theme's pale background.
    const Color caption = ScreenPixel({110, 110});
    EXPECT_LT(caption.r, 160);
    EXPECT_GE(caption.b, caption.r);

    canvasColour = kRepaintColour;
    host.Invalidate(canvas);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel({client.x + 45, client.y + 35}) == kRepaintColour; }));
}

TEST_F(GtkHostTest, OnlyAnInvalidatedWindowIsPaintedAgain) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(100, 100, 300, 200));
    const WindowHandle canvas = Child(top, WindowKind::Canvas, Rect::FromXYWH(40, 30, 50, 40));
    std::map<uint32_t, int> paints;
    sink.onPaint = [&](WindowHandle h, platform::Surface& s) {
        ++paints[h.value];
        s.FillRect({0, 0, s.GetSize().cx, s.GetSize().cy}, h == canvas ? kCanvasColour : kClientColour);
    };
    ShowAndWait(top);
    ASSERT_TRUE(PumpUntil([&] { return paints[canvas.value] > 0; }));
    paints.clear();
    // GTK redraws what lies under a child that redraws (a video frame, say): the program is not
    // asked to paint for that, and the screen still shows what it painted before.
    for (int i = 0; i < 3; ++i) {
        gtk_widget_queue_draw(Widget(canvas));
        Settle();
    }
    EXPECT_EQ(paints[top.value], 0);
    EXPECT_EQ(ScreenPixel({ClientOrigin(top).x + 45, ClientOrigin(top).y + 80}), kClientColour);
    host.Invalidate(top);
    EXPECT_TRUE(PumpUntil([&] { return paints[top.value] == 1; }));
    host.SetRect(canvas, Rect::FromXYWH(40, 30, 60, 40));
    EXPECT_TRUE(PumpUntil([&] { return paints[canvas.value] == 1; })) << "a new size is painted anew";
}

TEST_F(GtkHostTest, BringToTopDrawsAChildAboveItsSiblings) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(100, 100, 300, 200));
    const WindowHandle below = Child(top, WindowKind::Canvas, Rect::FromXYWH(10, 10, 60, 60));
    const WindowHandle above = Child(top, WindowKind::Canvas, Rect::FromXYWH(40, 40, 60, 60));
    sink.onPaint = [&](WindowHandle h, platform::Surface& s) {
        s.FillRect({0, 0, s.GetSize().cx, s.GetSize().cy}, h == below ? kCanvasColour : h == above ? kRepaintColour : kClientColour);
    };
    ShowAndWait(top);
    const Point overlap{ClientOrigin(top).x + 50, ClientOrigin(top).y + 50};
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(overlap) == kRepaintColour; })) << "the later child is on top";
    host.BringToTop(below);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(overlap) == kCanvasColour; }));
    EXPECT_EQ(host.GetRect(below), Rect::FromXYWH(10, 10, 60, 60));
}

}  // namespace
}  // namespace vt
