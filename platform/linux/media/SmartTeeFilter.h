// The Smart Tee: one input, output 0 "capture" (a queue that never drops) and output 1
// "preview" (a small queue that drops the oldest frame when the preview falls behind). An
// output nobody is connected to discards its frames, so a free capture output costs nothing.
#pragma once

#include "GstFilter.h"

namespace platform::gst {

class SmartTeeFilter final : public GstFilter {
public:
    [[nodiscard]] static ComPtr<IBaseFilter> Create();

private:
    explicit SmartTeeFilter(GstElement* bin) : GstFilter(bin) {}
};

}  // namespace platform::gst
