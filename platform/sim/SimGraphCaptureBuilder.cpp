#include "SimGraphCaptureBuilder.h"

#include "SimMediaTypes.h"

namespace platform::sim {

HRESULT SimGraphCaptureBuilder::SetFiltergraph(IGraphBuilder* graph) {
    if (const HRESULT hr = m_context->Check("SetFiltergraph"); hr != S_OK) return hr;
    if (!graph) return E_POINTER;
    if (!dynamic_cast<SimGraph*>(graph)) return E_INVALIDARG;
    if (m_graph) return E_UNEXPECTED;  // a builder serves one graph
    m_graph = ComPtr<IGraphBuilder>::Retain(graph);
    return S_OK;
}

SimPin* SimGraphCaptureBuilder::SourcePin(IUnknown* source) const {
    ComPtr<IPin> pin;
    if (SUCCEEDED(ComPtr<IUnknown>::Retain(source).As(pin))) return dynamic_cast<SimPin*>(pin.Get());
    ComPtr<IBaseFilter> filter;
    if (FAILED(ComPtr<IUnknown>::Retain(source).As(filter))) return nullptr;
    auto* ours = dynamic_cast<SimFilter*>(filter.Get());
    return ours ? ours->Pin(PINDIR_OUTPUT, 0) : nullptr;
}

HRESULT SimGraphCaptureBuilder::RenderStream(const GUID* category, const GUID* majorType, IUnknown* source,
                                             IBaseFilter* intermediate, IBaseFilter* sink) {
    HRESULT hr = m_context->Check("RenderStream");
    auto* graph = dynamic_cast<SimGraph*>(m_graph.Get());
    if (hr == S_OK && !graph) hr = E_UNEXPECTED;
    if (hr == S_OK && (!source || !sink)) hr = E_POINTER;
    if (hr == S_OK && category && *category != PIN_CATEGORY_CAPTURE) hr = VFW_E_NOT_FOUND;
    SimPin* out = hr == S_OK ? SourcePin(source) : nullptr;
    if (hr == S_OK && !out) hr = VFW_E_NOT_FOUND;
    if (hr == S_OK && majorType && !SimMajorsMatch(*majorType, out->Major())) hr = VFW_E_NOT_FOUND;
    if (graph) graph->Event("RenderStream" + (FAILED(hr) ? " failed " + SimHex(hr) : std::string()));
    if (FAILED(hr)) return hr;

    std::vector<SimFilter*> chain;
    if (intermediate) chain.push_back(dynamic_cast<SimFilter*>(intermediate));
    chain.push_back(dynamic_cast<SimFilter*>(sink));
    for (SimFilter* next : chain) {
        SimPin* in = next ? next->Pin(PINDIR_INPUT, 0) : nullptr;
        if (!in) return VFW_E_NOT_FOUND;
        hr = graph->Join(*out, *in, SimConnection::How::Render, nullptr);
        if (FAILED(hr)) return hr;
        out = next->Pin(PINDIR_OUTPUT, 0);
        if (!out && next != chain.back()) return VFW_E_NOT_FOUND;
    }
    return S_OK;
}

}  // namespace platform::sim
