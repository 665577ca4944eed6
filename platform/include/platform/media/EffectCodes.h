// The codes the video effect filter's two controls take: one list for the filter itself, the
// settings that choose them and the program's calls, so that they cannot drift apart.
#pragma once

namespace effect {

// Tone; anything else acts as kToneNone.
enum Tone : int {
    kToneChannelMask = -1,  // keep only the channels whose flag is non-zero
    kToneNone = 0,
    kToneBlackWhite = 1,
    kToneSepia = 6,
};

// Mirror; anything else acts as kMirrorNone. Horizontal swaps left and right.
enum Mirror : int {
    kMirrorNone = 0,
    kMirrorBoth = 2,
    kMirrorHorizontal = 4,
    kMirrorVertical = 6,
};

}  // namespace effect
