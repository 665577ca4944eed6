// Keys reach the program first, addressed to the focused control or the window, as classic
// virtual-key codes; a key the program takes never reaches the control.
#include <X11/keysym.h>

#include "GtkTestSupport.h"
#include "VirtualKeys.h"

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

TEST(VirtualKeysTest, KeyvalsBecomeClassicCodes) {
    using platform::VirtualKeyFromKeyval;
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_Escape), 27);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_Return), 13);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_KP_Enter), 13);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_ISO_Left_Tab), 9);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_space), 32);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_Left), 37);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_Down), 40);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_Delete), 46);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_F1), 112);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_F12), 123);
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_a), 'A');
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_Z), 'Z');
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_0), '0');
    EXPECT_EQ(VirtualKeyFromKeyval(GDK_KEY_9), '9');
}

}  // namespace
}  // namespace vt
