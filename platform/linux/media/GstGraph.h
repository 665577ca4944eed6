// The filter graph: a GstPipeline holding the filters' elements. One object answers
// IGraphBuilder, IMediaControl and IVideoWindow; the video window acts on the graph's renderer.
#pragma once

#include <gst/gst.h>

#include <memory>
#include <mutex>
#include <functional>
#include <string>
#include <vector>

#include "GRefPtr.h"
#include "platform/media/Graph.h"

namespace platform {
class GtkUiHost;
}

namespace platform::gst {

class GstFilter;
class GstPin;
class VideoWindow;

class GstGraph final : public IGraphBuilder, public IMediaControl, public IVideoWindow, public IMediaEventEx {
public:
    // How long Stop waits for a file being written to be finished by end-of-stream.
    static constexpr gint64 kFinishBoundUs = 5 * G_TIME_SPAN_SECOND;

    // The UI host places the video window; without one the window settings are kept only.
    explicit GstGraph(GtkUiHost* ui);
    GstGraph(const GstGraph&) = delete;
    GstGraph& operator=(const GstGraph&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    // IGraphBuilder
    HRESULT AddFilter(IBaseFilter* filter, const std::wstring& name) override;
    HRESULT RemoveFilter(IBaseFilter* filter) override;
    HRESULT FindFilterByName(const std::wstring& name, ComPtr<IBaseFilter>& filter) override;
    HRESULT ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) override;
    HRESULT Connect(IPin* out, IPin* in) override;

    // IMediaControl
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(uint32_t timeoutMs, FILTER_STATE& state) override;
    HRESULT SetNotifyCallback(std::function<void()> notify) override;

    // IVideoWindow
    HRESULT put_Owner(WindowHandle owner) override;
    HRESULT put_Left(int32_t left) override;
    HRESULT put_Top(int32_t top) override;
    HRESULT put_Width(int32_t width) override;
    HRESULT put_Height(int32_t height) override;
    HRESULT put_WindowStyle(int32_t style) override;
    HRESULT put_Visible(bool visible) override;
    HRESULT put_WindowState(int32_t state) override;
    HRESULT put_FullScreenMode(bool on) override;
    HRESULT put_MessageDrain(WindowHandle drain) override;

    GstElement* Pipeline() const { return m_pipeline.get(); }
    // The pin at the other end of the pin's connection (through any converters the graph put
    // in between); VFW_E_NOT_CONNECTED when there is none.
    HRESULT ConnectedPin(const GstPin& pin, ComPtr<IPin>& other);
    // The message of the first error the pipeline reported since it last left NULL; empty when
    // there was none.
    std::string LastError() const;
    // The filters in the order they were added; safe from any thread.
    std::vector<ComPtr<IBaseFilter>> Filters() const;

private:
    struct Entry {
        std::wstring name;
        ComPtr<IBaseFilter> ref;  // the graph's reference
        GstFilter* filter = nullptr;
    };
    struct Link {
        GstFilter* out = nullptr;
        int outIndex = 0;
        GstFilter* in = nullptr;
        int inIndex = 0;
        std::vector<GstElement*> helpers;  // converters between the two, owned by the pipeline
    };

    ~GstGraph();

    Entry* FindEntry(const GstFilter* filter);
    Link* FindLink(const GstFilter* filter, PIN_DIRECTION direction, int index);
    HRESULT CheckPins(IPin* out, IPin* in, GstPin*& outPin, GstPin*& inPin, GstPad*& outPad, GstPad*& inPad);
    HRESULT LinkThrough(GstPin& outPin, GstPin& inPin, GstPad* outPad, GstPad* inPad,
                        std::vector<GRefPtr<GstElement>> helpers);
    void Unlink(Link& link);
    HRESULT ChangeState(GstState target);
    void FinishWriters();

    static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);

    RefCount m_refs;
    GRefPtr<GstElement> m_pipeline;
    std::vector<Entry> m_filters;  // changed on the UI thread under m_mutex
    std::vector<Link> m_links;
    std::unique_ptr<VideoWindow> m_video;

    // The bus handler runs on streaming threads.
    mutable std::mutex m_mutex;
    bool m_error = false;
    std::string m_errorText;
    std::function<void()> m_notify;  // guarded by m_mutex
};

}  // namespace platform::gst
