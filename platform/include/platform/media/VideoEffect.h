// The private interface of the video effect filter.
#pragma once

#include "platform/Unknown.h"

inline constexpr IID IID_IVideoEffectControl{0xFD5010A2, 0x8EBE, 0x11CE, {0x81, 0x83, 0x00, 0xAA, 0x00, 0x57, 0x7D, 0xA1}};

class IVideoEffectControl : public IUnknown {
public:
    // nEffect: 0 none, 1 black and white, 6 sepia (sent with 1, 1, 1); -1 keeps only the
    // colour channels whose flag is 1.
    [[nodiscard]] virtual HRESULT SetEffect(int nEffect, int nRed, int nGreen, int nBlue) = 0;
    // 0 none, 2 horizontal and vertical, 4 horizontal only, 6 vertical only.
    [[nodiscard]] virtual HRESULT SetMirror(int nMirror) = 0;
};
DECLARE_INTERFACE_IID(IVideoEffectControl, IID_IVideoEffectControl);
