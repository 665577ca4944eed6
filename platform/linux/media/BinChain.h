// Small helpers for the bins filters are made of.
#pragma once

#include <gst/gst.h>

#include <initializer_list>

#include "GRefPtr.h"

namespace platform::gst {

// A new element of the factory, as a floating reference, or nullptr (with one line on stderr
// naming the missing one).
GstElement* MakeElement(const char* factory, const char* name = nullptr);

// Adds the elements (floating references, as MakeElement gives them) to the bin and links them
// in order. False when an element is missing (then none is added) or a link fails (then the bin
// keeps what it took); the elements given are consumed either way.
bool AddChain(GstElement* bin, std::initializer_list<GstElement*> elements);

// A bin holding the elements linked in order, with the first one's sink pad and the last one's
// src pad as ghost pads "sink" and "src" (where they have them), as a reference the caller owns.
// nullptr when an element is missing or a link fails; the elements given are consumed either way.
GstElement* MakeChainBin(const char* name, std::initializer_list<GstElement*> elements);

// Adds a ghost pad for the element's static pad to the bin and activates it; the pad returned
// belongs to the bin.
GstPad* AddGhostPad(GstElement* bin, GstElement* element, const char* padName, const char* ghostName);

}  // namespace platform::gst
