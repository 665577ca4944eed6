// The video window of a graph: where the renderer's widget sits (inside the owner window's
// container, or a full-screen window of its own), its size, whether it shows, and where its
// input goes.
#pragma once

#include <gtk/gtk.h>

#include "platform/Types.h"
#include "platform/media/Graph.h"

namespace platform {
class GtkUiHost;
}

namespace platform::gst {

class VideoRendererFilter;

class VideoWindow {
public:
    explicit VideoWindow(GtkUiHost* ui) : m_ui(ui) {}
    ~VideoWindow();
    VideoWindow(const VideoWindow&) = delete;
    VideoWindow& operator=(const VideoWindow&) = delete;

    // Settings made before a renderer exists apply to it when it comes.
    void SetRenderer(VideoRendererFilter* renderer);
    VideoRendererFilter* Renderer() const { return m_renderer; }

    HRESULT SetOwner(WindowHandle owner);
    HRESULT SetLeft(int32_t left);
    HRESULT SetTop(int32_t top);
    HRESULT SetWidth(int32_t width);
    HRESULT SetHeight(int32_t height);
    HRESULT SetStyle(int32_t style);
    HRESULT SetVisible(bool visible);
    HRESULT SetWindowState(int32_t state);
    HRESULT SetFullScreen(bool on);
    HRESULT SetMessageDrain(WindowHandle drain);

    // Where the widget sits now (for tests): its parent and its position there.
    GtkWidget* Parent() const;

private:
    HRESULT Apply();
    // The container the widget goes into for the owner and the offset of the owner inside it.
    GtkWidget* OwnerContainer(int& dx, int& dy) const;
    // The monitor the main window (the drain) is on, for a full screen without a window manager.
    GdkMonitor* MonitorOfDrain(GtkWidget* widget) const;
    void ConnectInput(GtkWidget* widget);
    void DisconnectInput();
    static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnButton(GtkWidget* widget, GdkEventButton* event, gpointer self);
    // Where the picture's pointer input goes: the drain, else the owner (the video lies over it).
    WindowHandle InputTarget() const { return m_drain ? m_drain : m_owner; }

    GtkUiHost* m_ui;
    VideoRendererFilter* m_renderer = nullptr;
    GtkWidget* m_inputWidget = nullptr;  // the widget whose signals are connected
    gulong m_motionHandler = 0;
    gulong m_keyHandler = 0;
    gulong m_pressHandler = 0;
    gulong m_releaseHandler = 0;
    WindowHandle m_owner;
    WindowHandle m_drain;
    Rect m_rect;
    int32_t m_style = 0;
    bool m_shown = false;
    GtkWidget* m_fullScreen = nullptr;  // the undecorated full-screen window, while on
};

}  // namespace platform::gst
