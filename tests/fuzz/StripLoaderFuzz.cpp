// The picture strip loader on arbitrary bytes: it must never crash, read out of bounds or take
// more memory than the bytes can justify, and what it accepts must survive being written and
// read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<platform::Bitmap> picture = platform::DecodePicture({data, size});
    if (!picture) return 0;

    // Every pixel comes from at least three bytes of the file.
    const size_t pixels = static_cast<size_t>(picture->Width()) * static_cast<size_t>(picture->Height());
    if (pixels == 0 || pixels * 3 > size) std::abort();

    // What a button does with a strip: four frames of a quarter of its width, copied out.
    const int frameWidth = picture->Width() / 4;
    platform::Bitmap frame(frameWidth, picture->Height());
    for (int i = 0; i < 4; ++i)
        frame.Blit(0, 0, *picture, platform::Rect::FromXYWH(i * frameWidth, 0, frameWidth, picture->Height()));

    const std::optional<platform::Bitmap> again = platform::DecodePicture(platform::EncodeBmp(*picture));
    if (!again || !(*again == *picture)) std::abort();
    return 0;
}
