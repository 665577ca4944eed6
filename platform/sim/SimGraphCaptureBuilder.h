// The capture graph builder: renders a capture stream into a sink of the graph it was given.
#pragma once

#include "SimGraph.h"

namespace platform::sim {

class SimGraphCaptureBuilder final : public SingleComObject<ICaptureGraphBuilder2> {
public:
    explicit SimGraphCaptureBuilder(std::shared_ptr<SimMediaContext> context) : m_context(std::move(context)) {}

    HRESULT SetFiltergraph(IGraphBuilder* graph) override;
    // Joins the source's first output (or the source pin itself) to the sink's first input,
    // through the intermediate's first input and output when there is one.
    HRESULT RenderStream(const GUID* category, const GUID* majorType, IUnknown* source, IBaseFilter* intermediate,
                         IBaseFilter* sink) override;

private:
    SimPin* SourcePin(IUnknown* source) const;

    std::shared_ptr<SimMediaContext> m_context;
    ComPtr<IGraphBuilder> m_graph;
};

}  // namespace platform::sim
