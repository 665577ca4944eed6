// Small helpers for the bins filters are made of.
#pragma once

#include <gst/gst.h>

#include <initializer_list>

namespace platform::gst {

// A new element of the factory, or nullptr (with one line on stderr naming the missing one).
GstElement* MakeElement(const char* factory, const char* name = nullptr);

// A bin holding the elements linked in order, with the first one's sink pad and the last one's
// src pad as ghost pads "sink" and "src" (where they have them). nullptr when an element is
// missing or a link fails; the elements given are consumed either way.
GstElement* MakeChainBin(const char* name, std::initializer_list<GstElement*> elements);

// Adds a ghost pad for the element's static pad to the bin and activates it.
GstPad* AddGhostPad(GstElement* bin, GstElement* element, const char* padName, const char* ghostName);

}  // namespace platform::gst
