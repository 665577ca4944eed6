// Keys reach the program first, addressed to the focused control or the window, as classic
// virtual-key codes; a key the program takes never reaches the control.
#include <X11/keysym.h>

#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

class KeysTest : public GtkHostTest {
protected:
    void SetUp() override {
        top = TopLevel(Rect::FromXYWH(100, 100, 300, 200));
        edit = Child(top, WindowKind::Edit, Rect::FromXYWH(10, 10, 120, 20));
        ShowAndWait(top);
        host.SetFocus(top);
        ASSERT_TRUE(PumpUntil([&] { return gtk_window_has_toplevel_focus(GTK_WINDOW(Widget(top))); }));
    }
    WindowHandle top, edit;
};

TEST_F(KeysTest, EscapeGoesToTheFocusedControlOrElseTheWindow) {
    PressKey(XK_Escape);
    ASSERT_TRUE(PumpUntil([&] { return sink.log.size() == 1; }));
    host.SetFocus(edit);
    PressKey(XK_Escape);
    ASSERT_TRUE(PumpUntil([&] { return sink.log.size() == 2; }));
    EXPECT_EQ(sink.log, (std::vector<std::string>{"key 1 27", "key 2 27"}));
}

TEST_F(KeysTest, AKeyTheProgramTakesNeverReachesTheControl) {
    host.SetFocus(edit);
    sink.onKey = [](WindowHandle, int key) { return key == 'A'; };
    PressKey(XK_a);
    PressKey(XK_b);
    ASSERT_TRUE(PumpUntil([&] { return host.GetText(edit) == L"b"; }));
    EXPECT_EQ(sink.log, (std::vector<std::string>{"key 2 65", "key 2 66", "notify 2 editchange"}));
}

}  // namespace
}  // namespace vt
