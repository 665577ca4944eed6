// Real pointer input reaches the program in client coordinates, once per click, and double
// clicks arrive in the classic order: down, up, down (double), up.
#include "ClickTracker.h"
#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

class MouseTest : public GtkHostTest {
protected:
    void SetUp() override {
        top = TopLevel(Rect::FromXYWH(100, 100, 400, 300));
        canvas = Child(top, WindowKind::Canvas, Rect::FromXYWH(50, 40, 120, 80));
        button = Child(top, WindowKind::PushButton, Rect::FromXYWH(200, 40, 75, 23), L"&Start");
        ShowAndWait(top);
    }
    Point CanvasPoint(int x, int y) { return {ClientOrigin(top).x + 50 + x, ClientOrigin(top).y + 40 + y}; }
    std::vector<std::string> Clicks() const {
        std::vector<std::string> clicks;
        for (const auto& line : sink.log)
            if (line.rfind("down", 0) == 0 || line.rfind("up", 0) == 0 || line.rfind("notify", 0) == 0)
                clicks.push_back(line);
        return clicks;
    }

    WindowHandle top, canvas, button;
};

TEST_F(MouseTest, APushButtonClickNotifiesExactlyOnce) {
    Click(CentreOf(button));
    ASSERT_TRUE(PumpUntil([&] { return !Clicks().empty(); }));
    // Anything else (a doubled notification, a stray down on the client area) would arrive
    // with the same events.
    Settle();
    EXPECT_EQ(Clicks(), std::vector<std::string>{"notify 3 clicked"});
}

TEST_F(MouseTest, CanvasAndClientAreaGetPressesInTheirOwnCoordinates) {
    Click(CanvasPoint(7, 9));
    Click(CanvasPoint(100, 70), 3);
    Click({ClientOrigin(top).x + 20, ClientOrigin(top).y + 250});
    ASSERT_TRUE(PumpUntil([&] { return Clicks().size() == 6; }));
    EXPECT_EQ(Clicks(), (std::vector<std::string>{"down 2 left 7,9", "up 2 left 7,9", "down 2 right 100,70",
                                                  "up 2 right 100,70", "down 1 left 20,250", "up 1 left 20,250"}));
    EXPECT_GT(sink.moves, 0);
}

TEST_F(MouseTest, ADoubleClickArrivesAsDownUpDoubleDownUp) {
    const Point at = CanvasPoint(30, 30);
    Click(at);
    Click(at);
    Click(at);  // a third quick click starts a new pair
    ASSERT_TRUE(PumpUntil([&] { return Clicks().size() == 6; }));
    EXPECT_EQ(Clicks(), (std::vector<std::string>{"down 2 left 30,30", "up 2 left 30,30", "down 2 left 30,30 double",
                                                  "up 2 left 30,30", "down 2 left 30,30", "up 2 left 30,30"}));
}

TEST_F(MouseTest, EnteringAndLeavingTheCanvasAreReported) {
    // GTK sees the move into the canvas as a crossing only; the program sees a move.
    MovePointer(CanvasPoint(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return sink.moves > 0; }));
    const int before = sink.leaves;
    MovePointer(CanvasPoint(200, 10));
    EXPECT_TRUE(PumpUntil([&] { return sink.leaves > before; }));
}

TEST(ClickTrackerTest, OnlyTheSameButtonOnTheSameWindowSoonAndNearMakesADoubleClick) {
    using platform::MouseButton;
    const platform::ClickTracker::Limits limits{400, 5};
    const WindowHandle a{1}, b{2};
    const auto pair = [&](WindowHandle w2, MouseButton b2, uint32_t t2, Point p2) {
        platform::ClickTracker tracker;
        EXPECT_FALSE(tracker.Press(a, MouseButton::Left, 1000, {100, 100}, limits));
        return tracker.Press(w2, b2, t2, p2, limits);
    };
    EXPECT_TRUE(pair(a, MouseButton::Left, 1400, {105, 95}));
    EXPECT_FALSE(pair(a, MouseButton::Left, 1401, {100, 100})) << "too late";
    EXPECT_FALSE(pair(a, MouseButton::Left, 1100, {106, 100})) << "too far";
    EXPECT_FALSE(pair(b, MouseButton::Left, 1100, {100, 100})) << "another window";
    EXPECT_FALSE(pair(a, MouseButton::Right, 1100, {100, 100})) << "another button";

    platform::ClickTracker wrapping;  // the server's clock wraps after 49.7 days
    EXPECT_FALSE(wrapping.Press(a, MouseButton::Left, 0xFFFFFF00u, {0, 0}, limits));
    EXPECT_TRUE(wrapping.Press(a, MouseButton::Left, 0x00000010u, {0, 0}, limits));

    platform::ClickTracker fourth;  // down, double, single, double
    const bool presses[] = {fourth.Press(a, MouseButton::Left, 10, {0, 0}, limits),
                            fourth.Press(a, MouseButton::Left, 20, {0, 0}, limits),
                            fourth.Press(a, MouseButton::Left, 30, {0, 0}, limits),
                            fourth.Press(a, MouseButton::Left, 40, {0, 0}, limits)};
    EXPECT_EQ(std::vector<bool>(std::begin(presses), std::end(presses)), (std::vector<bool>{false, true, false, true}));
}

}  // namespace
}  // namespace vt
