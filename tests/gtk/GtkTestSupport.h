// What the GTK tests share: a sink that records events, waiting on a condition by running the
// main loop (bounded), and real input through XTest.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string>
#include <thread>
#include <vector>

#include "GtkUiHost.h"

namespace vt {

using platform::Color;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;

// Records every event as a line of text ("down 3 left 7,9 double", "notify 4 clicked",
// "key 2 27"); moves, leaves, paints and wakes are counted, as their number is not the point.
class RecordingSink final : public platform::IUiEvents {
public:
    std::vector<std::string> log;
    int moves = 0, leaves = 0, paints = 0, wakes = 0;
    std::thread::id wakeThread;
    std::function<void(WindowHandle, platform::Surface&)> onPaint;
    std::function<bool(WindowHandle, int)> onKey;
    std::function<void(WindowHandle, Rect&)> onMoving;
    std::function<void(WindowHandle, uintptr_t)> onTimer;
    WindowHandle refusesInput{};  // the window the framework would refuse input to

    int Count(const std::string& line) const { return int(std::count(log.begin(), log.end(), line)); }

    void OnPaint(WindowHandle h, platform::Surface& s) override { ++paints, onPaint ? onPaint(h, s) : void(); }
    void OnMouseDown(WindowHandle h, platform::MouseButton b, Point p, bool doubleClick) override {
        Log("down", h, At(b, p) + (doubleClick ? " double" : ""));
    }
    void OnMouseUp(WindowHandle h, platform::MouseButton b, Point p) override { Log("up", h, At(b, p)); }
    void OnMouseMove(WindowHandle, Point) override { ++moves; }
    void OnMouseLeave(WindowHandle) override { ++leaves; }
    bool OnKeyDown(WindowHandle h, int key) override { return Log("key", h, std::to_string(key)), onKey && onKey(h, key); }
    void OnControlNotify(WindowHandle h, platform::ControlNotify n) override {
        Log("notify", h, std::array{"clicked", "selchange", "editchange"}[int(n)]);
    }
    void OnSysCommand(WindowHandle h, platform::SysCommand c) override {
        Log("syscommand", h, std::array{"close", "minimize", "restore"}[int(c)]);
    }
    void OnMoving(WindowHandle h, Rect& r) override { Log("moving", h), onMoving ? onMoving(h, r) : void(); }
    void OnMoved(WindowHandle h) override { Log("moved", h); }
    void OnTimer(WindowHandle h, uintptr_t id) override { Log("timer", h, std::to_string(id)), onTimer ? onTimer(h, id) : void(); }
    void OnWake() override { ++wakes, wakeThread = std::this_thread::get_id(); }
    bool AcceptsInput(WindowHandle h) override { return h != refusesInput; }

private:
    static std::string At(platform::MouseButton b, Point p) {
        return (b == platform::MouseButton::Left ? "left " : "right ") + std::to_string(p.x) + ',' + std::to_string(p.y);
    }
    void Log(const char* what, WindowHandle h, const std::string& rest = "") {
        log.push_back(what + (' ' + std::to_string(h.value)) + (rest.empty() ? "" : ' ' + rest));
    }
};

// Runs the main loop until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
// Lets the X server answer everything sent so far, then handles what is pending: what input
// already sent will cause has happened afterwards.
void Settle();

// Real input, as the X server would get it from a mouse and a keyboard.
void MovePointer(Point screen);
void Click(Point screen, int button = 1);
void PressButton(int button, bool down);
void PressKey(unsigned long keysym);  // down and up
void ReleaseHeldButtons();

// What the screen shows at a point (read back from the X server).
Color ScreenPixel(Point screen);
// Screen position of a widget's top-left corner.
Point ScreenOrigin(GtkWidget* widget);

class GtkHostTest : public ::testing::Test {
protected:
    GtkHostTest() { host.SetEventSink(&sink); }
    // A test that failed half-way through a drag must not leave the button down for the next.
    ~GtkHostTest() override { ReleaseHeldButtons(); }

    WindowHandle TopLevel(Rect outer, bool caption = true, bool minimizeBox = false);
    WindowHandle Child(WindowHandle parent, platform::WindowKind kind, Rect rect, std::wstring text = L"",
                       bool startsGroup = false);
    // Shows the window and waits until it stands mapped where it was asked to.
    void ShowAndWait(WindowHandle topLevel);
    GtkWidget* Widget(WindowHandle h) const { return host.NativeWidget(h); }
    Point ClientOrigin(WindowHandle topLevel) const { return ScreenOrigin(host.NativeContainer(topLevel)); }
    // Centre of a child on the screen.
    Point CentreOf(WindowHandle child);

    RecordingSink sink;
    platform::GtkUiHost host;  // after the sink: destroyed first

private:
    uint32_t m_next = 1;
};

}  // namespace vt
