// A grabbed frame stretched into the main window's small picture control.
#include <cstdlib>

#include "FrameStatic.h"
#include "SampleGrabberCB.h"
#include "TaviDlg.h"
#include "platform/ImageEncoder.h"
#include "resources/ResourceIds.h"

int DrawFrame(const uint8_t* pixels, const BITMAPINFOHEADER& header) {
    if (!g_bFrameShown || !g_grabberCB.m_pDlg || !pixels) return 0;
    auto* control = dynamic_cast<CFrameStatic*>(g_grabberCB.m_pDlg->GetDlgItem(IDC_STATIC_SNAPSHOT));
    if (!control) return 0;
    CRect rect;
    control->GetWindowRect(&rect);
    const int targetWidth = rect.Width();
    const int targetHeight = rect.Height();
    // The header describes the pixels it came with; the grabber's present size may already be
    // another one after a rebuild.
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    if (width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0 || header.biBitCount != 24) return 0;

    // Colour on colour: each target pixel takes the nearest source pixel, nothing is blended.
    const size_t stride = platform::DibRowStride(width);
    const bool bottomUp = header.biHeight > 0;
    platform::Bitmap picture(targetWidth, targetHeight);
    for (int y = 0; y < targetHeight; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / targetHeight);
        const uint8_t* row = pixels + static_cast<size_t>(bottomUp ? height - 1 - sy : sy) * stride;
        for (int x = 0; x < targetWidth; ++x) {
            const uint8_t* p = row + 3 * static_cast<size_t>(static_cast<int64_t>(x) * width / targetWidth);
            picture.Set(x, y, platform::Color{p[2], p[1], p[0]});
        }
    }
    control->SetPicture(std::move(picture));
    return 1;
}
