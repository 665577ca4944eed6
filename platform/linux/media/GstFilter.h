// A filter of the real backend: one GStreamer element (mostly a bin) whose always pads are its
// pins, inputs and outputs in one fixed order. Graphs, pins and the capture graph builder
// work on this class; each kind of filter (camera, microphone, effect, Smart Tee, grabber,
// renderer, ASF writer, PCM) derives from it.
#pragma once

#include <gst/gst.h>

#include <string>
#include <vector>

#include "GRefPtr.h"
#include "platform/media/Filters.h"

namespace platform::gst {

// Private identifier: QueryInterface with it hands back the GstFilter behind an IBaseFilter.
inline constexpr IID IID_GstFilter{0x7a1c0e52, 0x3d1f, 0x4b8e, {0x9c, 0x41, 0x56, 0x10, 0x2b, 0x7e, 0xa3, 0x01}};

class GstGraph;

class GstFilter : public IBaseFilter {
public:
    // Takes the element (a floating reference is sunk).
    explicit GstFilter(GstElement* element);
    virtual ~GstFilter();
    GstFilter(const GstFilter&) = delete;
    GstFilter& operator=(const GstFilter&) = delete;

    // IUnknown: IUnknown, IBaseFilter, IID_GstFilter, and whatever QueryExtra answers.
    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    // IBaseFilter
    HRESULT EnumPins(ComPtr<IEnumPins>& enumerator) override;
    HRESULT QueryFilterInfo(std::wstring& name) override;

    GstElement* Element() const { return m_element.get(); }
    const std::wstring& NameInGraph() const { return m_name; }
    GstGraph* Graph() const { return m_graph; }

    // The graph calls these. Entering may fail (a device that cannot be opened: E_DEVICE_BUSY);
    // the default puts the element into the pipeline and records graph and name, leaving takes
    // it out again (to NULL first). Overrides call the base when they succeed.
    virtual HRESULT OnEnterGraph(GstGraph& graph, const std::wstring& name);
    virtual void OnLeaveGraph();

    // A filter that writes a file is finished by end-of-stream before the graph stops:
    // StartFinishing sends it (true when there is something to wait for) and WaitFinished waits
    // until the file is complete or the deadline passes (false then). StartFinishing may run on
    // any thread (a graph that reports an error finishes its files from a worker).
    virtual bool StartFinishing() { return false; }
    virtual bool WaitFinished(gint64 deadlineMonotonicUs) { (void)deadlineMonotonicUs; return true; }
    // An element of the graph reported an error; called on the thread that reported it.
    virtual void OnGraphError(GstObject* source) { (void)source; }
    // The graph is about to go from NULL to a running or paused state (a new stream starts).
    virtual void OnStreamStart() {}

    // The pad behind input or output pin n (in the filter's pin order), or nullptr. The
    // default walks the element's always pads.
    virtual GstPad* PinPad(PIN_DIRECTION direction, int index) const;
    int PinCount(PIN_DIRECTION direction) const;
    // The media types pin n offers (default: from the pad's caps).
    virtual std::vector<AM_MEDIA_TYPE> PinMediaTypes(PIN_DIRECTION direction, int index) const;
    // Extra interfaces of pin n (IAMStreamConfig on a camera's output); default none.
    virtual HRESULT PinQueryInterface(PIN_DIRECTION direction, int index, REFIID iid, void** object);

protected:
    // Extra interfaces of the filter (ISampleGrabber, IVideoEffectControl, …); default none.
    virtual HRESULT QueryExtra(REFIID iid, void** object);

private:
    RefCount m_refs;
    GRefPtr<GstElement> m_element;
    std::wstring m_name;
    GstGraph* m_graph = nullptr;
};

// The GstFilter behind an interface of ours, or nullptr for a foreign object.
GstFilter* AsGstFilter(IUnknown* object);

}  // namespace platform::gst
