// What the GTK tests share: a sink that records every event as a line of text, waiting on a
// condition by running the main loop (bounded), and real input through XTest.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "GtkUiHost.h"

namespace vt {

using platform::Color;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;

class RecordingSink final : public platform::IUiEvents {
public:
    // Lines like "down 3 left 7,9 double", "up 3 left 7,9", "notify 4 clicked", "key 2 27".
    std::vector<std::string> log;
    // Moves and leaves are counted, not logged: the pointer's path is not the point of a test.
    int moves = 0;
    int leaves = 0;
    int paints = 0;
    int wakes = 0;
    std::thread::id wakeThread;
    std::function<void(WindowHandle, platform::Surface&)> onPaint;
    std::function<bool(WindowHandle, int)> onKey;
    std::function<void(WindowHandle, Rect&)> onMoving;
    std::function<void(WindowHandle, uintptr_t)> onTimer;

    int Count(const std::string& line) const;

    void OnPaint(WindowHandle, platform::Surface&) override;
    void OnMouseDown(WindowHandle, platform::MouseButton, Point, bool doubleClick) override;
    void OnMouseUp(WindowHandle, platform::MouseButton, Point) override;
    void OnMouseMove(WindowHandle, Point) override { ++moves; }
    void OnMouseLeave(WindowHandle) override { ++leaves; }
    bool OnKeyDown(WindowHandle, int virtualKey) override;
    void OnControlNotify(WindowHandle, platform::ControlNotify) override;
    void OnSysCommand(WindowHandle, platform::SysCommand) override;
    void OnMoving(WindowHandle, Rect& proposed) override;
    void OnMoved(WindowHandle) override;
    void OnTimer(WindowHandle, uintptr_t id) override;
    void OnWake() override;
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
