// What the program and the effect filter agree on: names that find the filter, and the codes its
// two controls take. Shared so that a renamed property or code breaks the build, not the preview.
#pragma once

#include "platform/media/EffectCodes.h"

namespace videoeffect {

// The friendly name the program looks the filter up by, and the element factory it belongs to.
inline constexpr char kLongName[] = "Video Effect Filter";
inline constexpr char kFactoryName[] = "videoeffect";
// The plugin's own name: gst_plugin_load_file() finds gst_plugin_Videoeffect_get_desc in
// "Videoeffect.ax" only because the two agree.
inline constexpr char kPluginName[] = "Videoeffect";
inline constexpr char kPluginFileName[] = "Videoeffect.ax";
// The registry scanner only looks at files ending in ".so".
inline constexpr char kInstalledFileName[] = "libvistrel-videoeffect.so";

// Properties, and action signals that set several of them in one step.
inline constexpr char kPropTone[] = "tone";
inline constexpr char kPropRed[] = "red";
inline constexpr char kPropGreen[] = "green";
inline constexpr char kPropBlue[] = "blue";
inline constexpr char kPropMirror[] = "mirror";
inline constexpr char kSignalSetEffect[] = "set-effect";  // (gint tone, gint red, gint green, gint blue)
inline constexpr char kSignalSetMirror[] = "set-mirror";  // (gint mirror)

// The values of "tone" and "mirror" are the codes of platform/media/EffectCodes.h.

}  // namespace videoeffect
