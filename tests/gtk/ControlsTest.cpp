// Native controls: a user's change notifies, a programmatic one never does; radio groups,
// texts and the sizes the program gives them hold.
#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

class ControlsTest : public GtkHostTest {
protected:
    void SetUp() override { top = TopLevel(Rect::FromXYWH(100, 100, 400, 300)); }
    WindowHandle top;
};

TEST_F(ControlsTest, ProgrammaticChangesNeverNotify) {
    const WindowHandle check = Child(top, WindowKind::CheckBox, Rect::FromXYWH(10, 10, 120, 16), L"Mirror");
    const WindowHandle radio = Child(top, WindowKind::RadioButton, Rect::FromXYWH(10, 30, 120, 16), L"One", true);
    const WindowHandle other = Child(top, WindowKind::RadioButton, Rect::FromXYWH(10, 50, 120, 16), L"Two");
    const WindowHandle edit = Child(top, WindowKind::Edit, Rect::FromXYWH(10, 70, 120, 20));
    const WindowHandle combo = Child(top, WindowKind::ComboBox, Rect::FromXYWH(10, 100, 120, 20));

    host.SetCheck(check, true);
    host.SetCheck(radio, true);
    host.SetCheck(other, true);
    host.SetText(edit, L"C:/Videos");
    host.ComboAdd(combo, L"640 x 480");
    host.ComboAdd(combo, L"320 x 240");
    host.ComboSetSelection(combo, 1);
    ShowAndWait(top);

    EXPECT_TRUE(host.GetCheck(check));
    EXPECT_FALSE(host.GetCheck(radio));
    EXPECT_TRUE(host.GetCheck(other));
    EXPECT_EQ(host.GetText(edit), L"C:/Videos");
    EXPECT_EQ(host.ComboGetSelection(combo), 1);
    EXPECT_EQ(host.GetText(combo), L"320 x 240");
    host.ComboSetSelection(combo, 5);
    EXPECT_EQ(host.ComboGetSelection(combo), -1) << "past the end clears the selection";
    host.ComboReset(combo);
    EXPECT_EQ(host.GetText(combo), L"");
    EXPECT_TRUE(sink.log.empty()) << sink.log.front();
}

TEST_F(ControlsTest, UserChangesNotify) {
    const WindowHandle check = Child(top, WindowKind::CheckBox, Rect::FromXYWH(10, 10, 120, 16), L"Mirror");
    const WindowHandle edit = Child(top, WindowKind::Edit, Rect::FromXYWH(10, 70, 120, 20));
    const WindowHandle combo = Child(top, WindowKind::ComboBox, Rect::FromXYWH(10, 100, 120, 20));
    host.ComboAdd(combo, L"640 x 480");
    host.ComboAdd(combo, L"320 x 240");
    ShowAndWait(top);

    Click(CentreOf(check));
    ASSERT_TRUE(PumpUntil([&] { return !sink.log.empty(); }));
    EXPECT_TRUE(host.GetCheck(check));
    // Typing and picking from the list end in the same GTK signals as these.
    gtk_entry_set_text(GTK_ENTRY(Widget(edit)), "D:/");
    gtk_combo_box_set_active(GTK_COMBO_BOX(Widget(combo)), 0);
    EXPECT_EQ(sink.log, (std::vector<std::string>{"notify 2 clicked", "notify 3 editchange", "notify 4 selchange"}));
}

TEST_F(ControlsTest, RadioGroupsStartWhereAskedAndCanHaveNoneChecked) {
    const WindowHandle a = Child(top, WindowKind::RadioButton, Rect::FromXYWH(10, 10, 120, 16), L"A", true);
    const WindowHandle b = Child(top, WindowKind::RadioButton, Rect::FromXYWH(10, 30, 120, 16), L"B");
    const WindowHandle c = Child(top, WindowKind::RadioButton, Rect::FromXYWH(10, 50, 120, 16), L"C", true);
    ShowAndWait(top);
    EXPECT_FALSE(host.GetCheck(a) || host.GetCheck(b) || host.GetCheck(c)) << "none is checked at first";

    host.SetCheck(a, true);
    host.SetCheck(c, true);
    host.SetCheck(b, true);
    EXPECT_FALSE(host.GetCheck(a));
    EXPECT_TRUE(host.GetCheck(b));
    EXPECT_TRUE(host.GetCheck(c)) << "c starts a group of its own";
    host.SetCheck(b, false);
    EXPECT_FALSE(host.GetCheck(a) || host.GetCheck(b));

    host.SetCheck(b, true);
    Click(CentreOf(a));
    ASSERT_TRUE(PumpUntil([&] { return host.GetCheck(a); }));
    Settle();
    EXPECT_FALSE(host.GetCheck(b));
    EXPECT_EQ(sink.log, std::vector<std::string>{"notify 2 clicked"}) << "not the one turned off";
}

TEST_F(ControlsTest, TextsKeepTheProgramsAccessKeyMarks) {
    const WindowHandle button = Child(top, WindowKind::PushButton, Rect::FromXYWH(10, 10, 75, 23), L"&Save && go");
    const WindowHandle canvas = Child(top, WindowKind::Canvas, Rect::FromXYWH(10, 40, 75, 23), L"Status");
    GtkLabel* label = GTK_LABEL(gtk_bin_get_child(GTK_BIN(Widget(button))));
    EXPECT_STREQ(gtk_label_get_text(label), "Save & go");
    EXPECT_EQ(gtk_label_get_mnemonic_keyval(label), guint(GDK_KEY_s));
    EXPECT_EQ(host.GetText(button), L"&Save && go");
    EXPECT_EQ(host.GetText(canvas), L"Status");
    host.SetText(canvas, L"Recording");
    EXPECT_EQ(host.GetText(canvas), L"Recording");
    host.SetText(top, L"Résolution & Device");
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(Widget(top))), "Résolution & Device") << "no access keys in titles";
    EXPECT_EQ(host.GetText(top), L"Résolution & Device");
}

TEST_F(ControlsTest, DisabledControlsAndDisabledWindowsTakeNoClicks) {
    const WindowHandle button = Child(top, WindowKind::PushButton, Rect::FromXYWH(10, 10, 75, 23), L"OK");
    ShowAndWait(top);
    host.SetEnabled(button, false);
    Click(CentreOf(button));
    Settle();
    host.SetEnabled(button, true);
    host.SetEnabled(top, false);  // the owner of a modal dialog: the framework refuses it input
    sink.refusesInput = top;
    Click(CentreOf(button));
    Settle();
    EXPECT_TRUE(sink.log.empty()) << sink.log.front();
    EXPECT_TRUE(gtk_widget_is_sensitive(Widget(button))) << "a disabled window does not grey its controls";

    host.SetEnabled(top, true);
    sink.refusesInput = {};
    Click(CentreOf(button));
    EXPECT_TRUE(PumpUntil([&] { return sink.log == std::vector<std::string>{"notify 2 clicked"}; }));
}

}  // namespace
}  // namespace vt
