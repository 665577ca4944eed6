// Finds an element factory by its friendly (long) name: the Linux form of looking a filter up in
// the legacy filter category by name.
#pragma once

#include <gst/gst.h>

#include "GRefPtr.h"

namespace videoeffect {

// Returns the first element factory of the default registry whose long name equals longName
// exactly, or nothing. With rescan, the plugin folders are scanned again first, so a plugin
// installed since start-up is found.
[[nodiscard]] GRefPtr<GstElementFactory> FindFactoryByLongName(const char* longName, bool rescan);

}  // namespace videoeffect
