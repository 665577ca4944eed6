// The entries of the two filter categories that are not devices: legacy filters (the elements
// of the GStreamer registry, by long name) and audio compressors. The device enumerator lists
// them beside the cameras and microphones.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/media/Filters.h"

namespace platform::gst {

struct CategoryEntry {
    std::wstring friendlyName;
    // A new filter object for the entry; nullptr when it cannot be made.
    std::function<ComPtr<IBaseFilter>()> bind;
};

// Every element factory of the registry, its long name as the friendly name. The registry is
// brought up to date first, so a plugin installed since the process started is listed.
std::vector<CategoryEntry> LegacyFilterEntries();
// "PCM" (raw audio passed through) at least.
std::vector<CategoryEntry> AudioCompressorEntries();

}  // namespace platform::gst
