// Timers, wakes from other threads, and the modal loops of message boxes and menus, which keep
// both going.
#include <atomic>
#include <thread>

#include "GtkTestSupport.h"

namespace vt {
namespace {

using platform::WindowKind;

class LoopTest : public GtkHostTest {
protected:
    void SetUp() override { top = TopLevel(Rect::FromXYWH(100, 100, 400, 300)); }
    WindowHandle top;
};

// The top-level GTK window of a type other than ours, i.e. the box or menu being run.
template <typename Predicate>
GtkWidget* FindForeignWindow(Predicate&& is) {
    GList* all = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = all; w && !found; w = w->next)
        if (gtk_widget_get_visible(GTK_WIDGET(w->data)) && is(GTK_WIDGET(w->data))) found = GTK_WIDGET(w->data);
    g_list_free(all);
    return found;
}

TEST_F(LoopTest, ATimerRepeatsUntilKilledAndThenNeverFiresAgain) {
    host.SetTimer(top, 7, 15);
    ASSERT_TRUE(PumpUntil([&] { return sink.Count("timer 1 7") == 3; }));
    EXPECT_TRUE(host.KillTimer(top, 7));
    EXPECT_FALSE(host.KillTimer(top, 7));
    // Another timer is the clock: ten of its periods pass without the killed one.
    host.SetTimer(top, 8, 15);
    ASSERT_TRUE(PumpUntil([&] { return sink.Count("timer 1 8") == 10; }));
    EXPECT_EQ(sink.Count("timer 1 7"), 3);
}

TEST_F(LoopTest, SettingATimerAgainRestartsItWithTheNewPeriod) {
    host.SetTimer(top, 7, 60000);
    host.SetTimer(top, 7, 15);
    EXPECT_TRUE(PumpUntil([&] { return sink.Count("timer 1 7") == 2; }, 2000));
    EXPECT_TRUE(host.KillTimer(top, 7));
    EXPECT_FALSE(host.KillTimer(top, 7)) << "the first timer was replaced, not kept beside";
}

TEST_F(LoopTest, DestroyingAWindowKillsItsTimersAndThoseOfItsChildren) {
    const WindowHandle canvas = Child(top, WindowKind::Canvas, Rect::FromXYWH(0, 0, 10, 10));
    const WindowHandle clock = TopLevel(Rect::FromXYWH(0, 0, 100, 100));
    host.SetTimer(canvas, 1, 15);
    host.SetTimer(top, 2, 15);
    host.SetTimer(clock, 3, 15);
    // Destroyed from inside a timer, as programs do.
    sink.onTimer = [&](WindowHandle, uintptr_t id) {
        if (id == 2) host.DestroyWindow(top);
    };
    ASSERT_TRUE(PumpUntil([&] { return sink.Count("timer 3 3") == 10; }));
    EXPECT_EQ(sink.Count("timer 1 2"), 1);
    EXPECT_LE(sink.Count("timer 2 1"), 1);
    EXPECT_FALSE(host.KillTimer(canvas, 1));
    EXPECT_EQ(host.NativeWidget(canvas), nullptr);
}

TEST_F(LoopTest, AWakeFromAnotherThreadRunsOnTheUiThread) {
    std::atomic<bool> done = false;
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) host.Wake();
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done && sink.wakes > 0; }));
    worker.join();
    const int afterBurst = sink.wakes;
    EXPECT_EQ(sink.wakeThread, std::this_thread::get_id());
    EXPECT_LE(afterBurst, 200);
    Settle();
    host.Wake();
    EXPECT_TRUE(PumpUntil([&] { return sink.wakes == afterBurst + 1; })) << "a later wake is not lost";
}

TEST_F(LoopTest, AMessageBoxAnswersWithTheButtonAndKeepsTimersRunning) {
    ShowAndWait(top);
    GtkMessageType type = GTK_MESSAGE_OTHER;
    const auto answer = [&](int response) {
        sink.onTimer = [&, response](WindowHandle, uintptr_t) {
            GtkWidget* box = FindForeignWindow([](GtkWidget* w) { return GTK_IS_MESSAGE_DIALOG(w); });
            if (!box || sink.Count("timer 1 5") < 3) return;
            g_object_get(box, "message-type", &type, nullptr);
            EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(box)), GTK_WINDOW(Widget(top)));
            EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(box)), "Confirm");
            if (response == 0) gtk_window_close(GTK_WINDOW(box));
            else gtk_dialog_response(GTK_DIALOG(box), response);
        };
    };
    host.SetTimer(top, 5, 20);

    answer(platform::kIdNo);
    EXPECT_EQ(host.MessageBox(top, L"Stop recording?", L"Confirm", platform::kMbYesNo | platform::kMbIconQuestion),
              platform::kIdNo);
    EXPECT_EQ(type, GTK_MESSAGE_QUESTION);
    EXPECT_GE(sink.Count("timer 1 5"), 3) << "timers ran while the box was open";

    const auto closed = [&](uint32_t flags) {
        sink.log.clear();
        answer(0);
        return host.MessageBox(top, L"text", L"Confirm", flags);
    };
    EXPECT_EQ(closed(platform::kMbYesNoCancel | platform::kMbIconExclamation), platform::kIdCancel);
    EXPECT_EQ(type, GTK_MESSAGE_WARNING);
    EXPECT_EQ(closed(platform::kMbYesNo), platform::kIdNo);
    EXPECT_EQ(closed(platform::kMbOk | platform::kMbIconError), platform::kIdOk);
    EXPECT_EQ(type, GTK_MESSAGE_ERROR);
}

TEST_F(LoopTest, APopupMenuReturnsTheChosenItemOrNothing) {
    ShowAndWait(top);
    const auto item = [](int id, std::wstring text, bool grayed = false, bool checked = false,
                         std::vector<platform::MenuItem> sub = {}) {
        return platform::MenuItem{id, std::move(text), grayed, checked, std::move(sub)};
    };
    const std::vector<platform::MenuItem> items{
        item(101, L"&Snapshot"), item(0, L""), item(102, L"Mirror", false, true),
        item(0, L"More", false, false, {item(201, L"Disabled", true), item(202, L"Settings")})};

    std::vector<std::string> seen;
    const auto choose = [&](std::string label) {
        sink.onTimer = [&, label, done = false](WindowHandle, uintptr_t) mutable {
            GtkWidget* popup = FindForeignWindow([](GtkWidget* w) { return GTK_IS_MENU(gtk_bin_get_child(GTK_BIN(w))); });
            if (!popup || done) return;
            done = true;
            GtkMenuShell* menu = GTK_MENU_SHELL(gtk_bin_get_child(GTK_BIN(popup)));
            if (label.empty()) return gtk_menu_shell_cancel(menu);
            GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
            for (GList* c = children; c; c = c->next) {
                GtkWidget* item = GTK_WIDGET(c->data);
                const char* text = GTK_IS_SEPARATOR_MENU_ITEM(item) ? "-" : gtk_menu_item_get_label(GTK_MENU_ITEM(item));
                seen.push_back(std::string(text) + (GTK_IS_CHECK_MENU_ITEM(item) ? " [x]" : ""));
                if (text == label) gtk_menu_shell_activate_item(menu, item, TRUE);
            }
            g_list_free(children);
        };
    };
    host.SetTimer(top, 5, 20);

    choose("Mirror");
    EXPECT_EQ(host.TrackPopupMenu(top, items, {300, 300}), 102);
    EXPECT_EQ(seen, (std::vector<std::string>{"_Snapshot", "-", "Mirror [x]", "More"}));
    choose("");
    EXPECT_EQ(host.TrackPopupMenu(top, items, {300, 300}), 0);
}

TEST_F(LoopTest, UnknownAndDestroyedHandlesAreHarmless) {
    const WindowHandle child = Child(top, WindowKind::PushButton, Rect::FromXYWH(0, 0, 10, 10));
    host.DestroyWindow(top);
    platform::CreateParams orphan;
    orphan.parent = top;
    EXPECT_FALSE(host.CreateWindow(WindowHandle{50}, orphan)) << "no parent";
    for (const WindowHandle h : {WindowHandle{999}, top, child}) {
        host.SetText(h, L"x"), host.SetVisible(h, true), host.SetEnabled(h, false), host.BringToTop(h);
        host.SetRect(h, Rect::FromXYWH(0, 0, 5, 5)), host.Invalidate(h), host.SetFont(h, {}), host.SetFocus(h);
        host.SetTooltip(h, L"tip", true), host.SetShowState(h, platform::ShowState::Minimized), host.SetCheck(h, true);
        host.ComboAdd(h, L"x"), host.ComboSetSelection(h, 0), host.ComboReset(h), host.SetTimer(h, 1, 10);
        EXPECT_EQ(host.GetText(h), L"");
        EXPECT_EQ(host.GetRect(h), Rect{});
        EXPECT_EQ(host.GetShowState(h), platform::ShowState::Normal);
        EXPECT_FALSE(host.GetCheck(h));
        EXPECT_EQ(host.ComboGetSelection(h), -1);
        EXPECT_FALSE(host.KillTimer(h, 1));
        host.DestroyWindow(h);
    }
    const WindowHandle again = TopLevel(Rect::FromXYWH(0, 0, 50, 50));
    EXPECT_FALSE(host.CreateWindow(again, {})) << "a handle in use";
    Settle();
    EXPECT_TRUE(sink.log.empty());
}

}  // namespace
}  // namespace vt
