// The capture graph builder: renders a source's capture stream into a sink, through an
// intermediate filter, with the graph's intelligent connect.
#pragma once

#include "platform/media/Graph.h"

namespace platform::gst {

ComPtr<ICaptureGraphBuilder2> CreateCaptureGraphBuilder();

}  // namespace platform::gst
