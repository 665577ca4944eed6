// Top-level windows stand where and as large as asked, children stand at their client pixels,
// and the frame we draw behaves like a caption: drag moves, boxes ask, nothing closes itself.
#include <X11/keysym.h>

#include "CaptionFrame.h"
#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

class TopLevelTest : public GtkHostTest {};

TEST_F(TopLevelTest, StandsAtItsOuterRectangleWithTheClientAreaInsideTheFrame) {
    const Rect outer = Rect::FromXYWH(120, 90, 400, 300);
    const WindowHandle framed = TopLevel(outer);
    const WindowHandle bare = TopLevel(Rect::FromXYWH(600, 500, 200, 100), false);
    ShowAndWait(framed);
    ShowAndWait(bare);

    GdkRectangle extents;
    gdk_window_get_frame_extents(gtk_widget_get_window(Widget(framed)), &extents);
    EXPECT_EQ(Rect::FromXYWH(extents.x, extents.y, extents.width, extents.height), outer);

    GdkWindow* client = gtk_widget_get_window(host.NativeContainer(framed));
    int x = 0, y = 0;
    gdk_window_get_origin(client, &x, &y);
    const Rect expected = platform::ClientArea(outer, true).Offset(outer.left, outer.top);
    EXPECT_EQ(Rect::FromXYWH(x, y, gdk_window_get_width(client), gdk_window_get_height(client)), expected);

    GdkWindow* bareClient = gtk_widget_get_window(host.NativeContainer(bare));
    gdk_window_get_origin(bareClient, &x, &y);
    EXPECT_EQ(Rect::FromXYWH(x, y, gdk_window_get_width(bareClient), gdk_window_get_height(bareClient)),
              Rect::FromXYWH(600, 500, 200, 100));
    EXPECT_EQ(host.GetRect(framed), outer);
}

TEST_F(TopLevelTest, ChildrenTakeExactlyTheirRectanglesInClientPixels) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(50, 50, 420, 300));
    const Rect buttonRect = Rect::FromXYWH(10, 12, 75, 23);
    const Rect canvasRect = Rect::FromXYWH(100, 40, 60, 45);
    const WindowHandle button = Child(top, WindowKind::PushButton, buttonRect, L"A rather long label for this button");
    const WindowHandle canvas = Child(top, WindowKind::Canvas, canvasRect);
    const WindowHandle edit = Child(top, WindowKind::Edit, Rect::FromXYWH(10, 100, 120, 20));
    const WindowHandle combo = Child(top, WindowKind::ComboBox, Rect::FromXYWH(10, 130, 90, 20));
    const WindowHandle check = Child(top, WindowKind::CheckBox, Rect::FromXYWH(10, 160, 100, 16), L"&Mirror");
    host.ComboAdd(combo, L"An entry much wider than the combo box itself");
    host.ComboSetSelection(combo, 0);
    ShowAndWait(top);

    for (auto [child, rect] : {std::pair{button, buttonRect}, {canvas, canvasRect}, {edit, host.GetRect(edit)},
                               {combo, host.GetRect(combo)}, {check, host.GetRect(check)}}) {
        GtkAllocation a;
        gtk_widget_get_allocation(Widget(child), &a);
        EXPECT_EQ(Rect::FromXYWH(a.x, a.y, a.width, a.height), rect) << "child " << child.value;
    }
    // The canvas has a window of its own: it must really stand there on the screen.
    int x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(Widget(canvas)), &x, &y);
    EXPECT_EQ((Point{x, y}), (Point{ClientOrigin(top).x + canvasRect.left, ClientOrigin(top).y + canvasRect.top}));

    host.SetRect(canvas, Rect::FromXYWH(200, 150, 30, 20));
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_allocated_width(Widget(canvas)) == 30; }));
    GtkAllocation moved;
    gtk_widget_get_allocation(Widget(canvas), &moved);
    EXPECT_EQ(Rect::FromXYWH(moved.x, moved.y, moved.width, moved.height), Rect::FromXYWH(200, 150, 30, 20));
}

TEST_F(TopLevelTest, SetRectMovesAndResizesWithoutReportingAMove) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(100, 100, 300, 200));
    ShowAndWait(top);
    const Rect target = Rect::FromXYWH(140, 160, 360, 240);
    host.SetRect(top, target);
    ASSERT_TRUE(PumpUntil([&] {
        GdkRectangle e;
        gdk_window_get_frame_extents(gtk_widget_get_window(Widget(top)), &e);
        return Rect::FromXYWH(e.x, e.y, e.width, e.height) == target &&
               gtk_widget_get_allocated_height(host.NativeContainer(top)) == platform::ClientArea(target, true).Height();
    }));
    EXPECT_EQ(host.GetRect(top), target);
    EXPECT_EQ(sink.Count("moved 1"), 0);
}

TEST_F(TopLevelTest, DraggingTheCaptionMovesWhereTheProgramAllows) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(200, 200, 300, 200));
    // The window appears under the pointer; GTK then reports some moves between the caption and
    // the client area as crossings only, with no motion.
    MovePointer({321, 234});
    ShowAndWait(top);
    // The program keeps the window from going above y = 150.
    sink.onMoving = [](WindowHandle, Rect& proposed) {
        if (proposed.top < 150) proposed = proposed.Offset(0, 150 - proposed.top);
    };
    MovePointer({260, 210});
    PressButton(1, true);
    MovePointer({300, 230});
    ASSERT_TRUE(PumpUntil([&] { return ScreenOrigin(Widget(top)) == Point{240, 220}; }));
    MovePointer({340, 100});
    ASSERT_TRUE(PumpUntil([&] { return ScreenOrigin(Widget(top)) == Point{280, 150}; }));
    PressButton(1, false);
    MovePointer({400, 100});  // the button is up: this moves nothing
    Settle();

    EXPECT_EQ(host.GetRect(top), Rect::FromXYWH(280, 150, 300, 200));
    EXPECT_EQ(sink.log, (std::vector<std::string>{"moving 1", "moved 1", "moving 1", "moved 1"}))
        << "a caption press is no client press, and each step is announced before and after";
}

TEST_F(TopLevelTest, CaptionBoxesAndTheWindowManagerAskInsteadOfActing) {
    const Rect outer = Rect::FromXYWH(100, 100, 300, 200);
    const WindowHandle top = TopLevel(outer, true, true);
    ShowAndWait(top);
    const auto boxCentre = [&](platform::CaptionPart part) {
        const Rect r = platform::CaptionBoxRect({outer.Width(), outer.Height()}, part);
        return Point{outer.left + r.left + r.Width() / 2, outer.top + r.top + r.Height() / 2};
    };
    Click(boxCentre(platform::CaptionPart::CloseBox));
    ASSERT_TRUE(PumpUntil([&] { return sink.log.size() == 1; }));
    Click(boxCentre(platform::CaptionPart::MinimizeBox));
    ASSERT_TRUE(PumpUntil([&] { return sink.log.size() == 2; }));
    // Pressed on the box but released elsewhere: nothing.
    MovePointer(boxCentre(platform::CaptionPart::CloseBox));
    PressButton(1, true);
    MovePointer({outer.left + 150, outer.top + 100});
    PressButton(1, false);
    gtk_window_close(GTK_WINDOW(Widget(top)));
    ASSERT_TRUE(PumpUntil([&] { return sink.log.size() == 3; }));

    EXPECT_EQ(sink.log, (std::vector<std::string>{"syscommand 1 close", "syscommand 1 minimize", "syscommand 1 close"}));
    EXPECT_TRUE(gtk_widget_get_visible(Widget(top)));
    EXPECT_EQ(host.GetShowState(top), platform::ShowState::Normal);
}

TEST_F(TopLevelTest, MovesAndIconifyingByOthersAreAdoptedAndReported) {
    const WindowHandle top = TopLevel(Rect::FromXYWH(100, 100, 300, 200));
    ShowAndWait(top);
    // A window manager moving the window.
    gdk_window_move(gtk_widget_get_window(Widget(top)), 150, 170);
    ASSERT_TRUE(PumpUntil([&] { return !sink.log.empty(); }));
    EXPECT_EQ(host.GetRect(top), Rect::FromXYWH(150, 170, 300, 200));

    const auto stateChange = [&](bool iconified) {
        GdkEvent* event = gdk_event_new(GDK_WINDOW_STATE);
        event->window_state.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(Widget(top))));
        event->window_state.changed_mask = GDK_WINDOW_STATE_ICONIFIED;
        event->window_state.new_window_state = iconified ? GDK_WINDOW_STATE_ICONIFIED : GdkWindowState(0);
        gtk_widget_event(Widget(top), event);
        gdk_event_free(event);
    };
    host.SetShowState(top, platform::ShowState::Minimized);
    stateChange(true);   // what the program asked for: no news
    stateChange(false);  // restored from the task bar
    EXPECT_EQ(host.GetShowState(top), platform::ShowState::Normal);
    stateChange(true);   // minimised from outside
    EXPECT_EQ(host.GetShowState(top), platform::ShowState::Minimized);
    EXPECT_EQ(sink.log, (std::vector<std::string>{"moved 1", "syscommand 1 restore", "syscommand 1 minimize"}));
}

}  // namespace
}  // namespace vt
