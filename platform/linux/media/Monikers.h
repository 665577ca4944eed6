// Monikers over a list of category entries: each gives a property bag with its friendly name
// and binds to a new filter object.
#pragma once

#include <vector>

#include "FilterCategories.h"
#include "platform/media/Devices.h"

namespace platform::gst {

// An enumerator over the entries, in their order.
[[nodiscard]] ComPtr<IEnumMoniker> CreateMonikerEnumerator(std::vector<CategoryEntry> entries);

}  // namespace platform::gst
