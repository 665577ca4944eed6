// The filter graph: filters added under names, connections, the capture graph builder, the
// run state and the video window that shows the renderer's picture.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Types.h"
#include "platform/Unknown.h"
#include "platform/media/Filters.h"

inline constexpr IID IID_IGraphBuilder{0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaControl{0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IVideoWindow{0x56A868B4, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEventEx{0x56A868C0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_ICaptureGraphBuilder2{0x93E5A4E0, 0x2D50, 0x11D2, {0xAB, 0xFA, 0x00, 0xA0, 0xC9, 0xC6, 0xE3, 0x8D}};

inline constexpr GUID PIN_CATEGORY_CAPTURE{0xFB6C4281, 0x0353, 0x11D1, {0x90, 0x5F, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA}};

class IGraphBuilder : public IUnknown {
public:
    // VFW_E_DUPLICATE_NAME when the name is taken; the device's own code when it cannot start
    // (a busy camera fails here).
    [[nodiscard]] virtual HRESULT AddFilter(IBaseFilter* filter, const std::wstring& name) = 0;
    [[nodiscard]] virtual HRESULT RemoveFilter(IBaseFilter* filter) = 0;
    [[nodiscard]] virtual HRESULT FindFilterByName(const std::wstring& name, ComPtr<IBaseFilter>& filter) = 0;
    // Joins the two pins as they are; with a type, only in that type.
    [[nodiscard]] virtual HRESULT ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) = 0;
    // Joins the two pins, inserting converters where needed.
    [[nodiscard]] virtual HRESULT Connect(IPin* out, IPin* in) = 0;
};
DECLARE_INTERFACE_IID(IGraphBuilder, IID_IGraphBuilder);

enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

inline constexpr uint32_t INFINITE = 0xFFFFFFFFu;

class IMediaControl : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT Run() = 0;
    [[nodiscard]] virtual HRESULT Pause() = 0;
    // A graph that writes a file is finished before Stop returns: the writer gets
    // end-of-stream and the file is complete.
    [[nodiscard]] virtual HRESULT Stop() = 0;
    // S_OK with the settled state; VFW_S_STATE_INTERMEDIATE with the target state when the
    // change has not finished within the time-out; E_FAIL when the graph reported an error.
    [[nodiscard]] virtual HRESULT GetState(uint32_t timeoutMs, FILTER_STATE& state) = 0;
};
DECLARE_INTERFACE_IID(IMediaControl, IID_IMediaControl);

// Who the graph tells when it fails while it runs (a device gone, a file that can no longer be
// written): `notify` is called on whatever thread saw the failure, once per failure, until it
// is replaced; an empty function tells nobody.
class IMediaEventEx : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT SetNotifyCallback(std::function<void()> notify) = 0;
};
DECLARE_INTERFACE_IID(IMediaEventEx, IID_IMediaEventEx);

class ICaptureGraphBuilder2 : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT SetFiltergraph(IGraphBuilder* graph) = 0;
    // Renders the source's stream of the pin category and major type into the sink, through
    // the intermediate filter when there is one.
    [[nodiscard]] virtual HRESULT RenderStream(const GUID* category, const GUID* majorType, IUnknown* source,
                                 IBaseFilter* intermediate, IBaseFilter* sink) = 0;
};
DECLARE_INTERFACE_IID(ICaptureGraphBuilder2, IID_ICaptureGraphBuilder2);

// Window styles and show states the video window understands.
inline constexpr int32_t WS_CHILD_STYLE = 0x40000000;
inline constexpr int32_t WS_CLIPSIBLINGS_STYLE = 0x04000000;
inline constexpr int32_t WS_BORDER_STYLE = 0x00800000;
inline constexpr int32_t SW_HIDE_STATE = 0;
inline constexpr int32_t SW_SHOW_STATE = 5;

// The renderer's window. Its owner is a window of the UI host, and the picture follows it.
class IVideoWindow : public IUnknown {
public:
    [[nodiscard]] virtual HRESULT put_Owner(platform::WindowHandle owner) = 0;
    [[nodiscard]] virtual HRESULT put_Left(int32_t left) = 0;
    [[nodiscard]] virtual HRESULT put_Top(int32_t top) = 0;
    [[nodiscard]] virtual HRESULT put_Width(int32_t width) = 0;
    [[nodiscard]] virtual HRESULT put_Height(int32_t height) = 0;
    [[nodiscard]] virtual HRESULT put_WindowStyle(int32_t style) = 0;
    [[nodiscard]] virtual HRESULT put_Visible(bool visible) = 0;
    [[nodiscard]] virtual HRESULT put_WindowState(int32_t state) = 0;
    [[nodiscard]] virtual HRESULT put_FullScreenMode(bool on) = 0;
    // Mouse and key input of the video window goes to this window (none: nowhere).
    [[nodiscard]] virtual HRESULT put_MessageDrain(platform::WindowHandle drain) = 0;
};
DECLARE_INTERFACE_IID(IVideoWindow, IID_IVideoWindow);
