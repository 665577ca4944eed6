// The private interface of the video effect filter.
#pragma once

#include "platform/Unknown.h"
#include "platform/media/EffectCodes.h"

inline constexpr IID IID_IVideoEffectControl{0xFD5010A2, 0x8EBE, 0x11CE, {0x81, 0x83, 0x00, 0xAA, 0x00, 0x57, 0x7D, 0xA1}};

class IVideoEffectControl : public IUnknown {
public:
    // nEffect: an effect::Tone (black and white and sepia are sent with 1, 1, 1;
    // kToneChannelMask keeps only the colour channels whose flag is 1).
    [[nodiscard]] virtual HRESULT SetEffect(int nEffect, int nRed, int nGreen, int nBlue) = 0;
    // nMirror: an effect::Mirror.
    [[nodiscard]] virtual HRESULT SetMirror(int nMirror) = 0;
};
DECLARE_INTERFACE_IID(IVideoEffectControl, IID_IVideoEffectControl);
