#include "CaptureGraphBuilder.h"

#include "platform/ComObject.h"
#include "platform/media/Media.h"

namespace platform::gst {
namespace {

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted, const GUID* majorType) {
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins))) return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(pin) == S_OK) {
        PIN_DIRECTION direction = PINDIR_INPUT;
        if (FAILED(pin->QueryDirection(direction)) || direction != wanted) continue;
        if (!majorType) return pin;
        ComPtr<IEnumMediaTypes> types;
        if (FAILED(pin->EnumMediaTypes(types))) continue;
        std::vector<AM_MEDIA_TYPE> list;
        (void)types->Next(1000, list);
        for (const AM_MEDIA_TYPE& type : list)
            if (type.majortype == *majorType) return pin;
    }
    return nullptr;
}

class CaptureGraphBuilder final : public SingleComObject<ICaptureGraphBuilder2> {
public:
    HRESULT SetFiltergraph(IGraphBuilder* graph) override {
        if (!graph) return E_POINTER;
        if (m_graph) return E_UNEXPECTED;  // a builder serves one graph
        m_graph = ComPtr<IGraphBuilder>::Retain(graph);
        return S_OK;
    }

    HRESULT RenderStream(const GUID* category, const GUID* majorType, IUnknown* source, IBaseFilter* intermediate,
                         IBaseFilter* sink) override {
        if (!m_graph) return E_UNEXPECTED;
        if (!source || !sink) return E_POINTER;
        // A camera has one kind of output: the capture stream.
        if (category && *category != PIN_CATEGORY_CAPTURE) return E_INVALIDARG;
        ComPtr<IPin> out;
        const auto unknown = ComPtr<IUnknown>::Retain(source);
        if (ComPtr<IBaseFilter> filter; FAILED(unknown.As(out)) && SUCCEEDED(unknown.As(filter))) {
            out = FirstPin(filter.Get(), PINDIR_OUTPUT, majorType);
        }
        if (!out) return E_FAIL;
        if (intermediate) {
            ComPtr<IPin> in = FirstPin(intermediate, PINDIR_INPUT, nullptr);
            if (!in) return E_FAIL;
            if (HRESULT hr = m_graph->Connect(out.Get(), in.Get()); FAILED(hr)) return hr;
            out = FirstPin(intermediate, PINDIR_OUTPUT, nullptr);
            if (!out) return E_FAIL;
        }
        ComPtr<IPin> in = FirstPin(sink, PINDIR_INPUT, nullptr);
        if (!in) return E_FAIL;
        return m_graph->Connect(out.Get(), in.Get());
    }

private:
    ComPtr<IGraphBuilder> m_graph;
};

}  // namespace

ComPtr<ICaptureGraphBuilder2> CreateCaptureGraphBuilder() {
    return MakeComObject<CaptureGraphBuilder>();
}

}  // namespace platform::gst
