#include "FrameStatic.h"

#include <utility>

BEGIN_MESSAGE_MAP(CFrameStatic, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CFrameStatic::SetPicture(platform::Bitmap picture) {
    m_picture = std::move(picture);
    Invalidate(FALSE);
}

void CFrameStatic::OnPaint() {
    if (m_picture.IsEmpty()) {
        CStatic::OnPaint();  // the black rectangle of the template
        return;
    }
    CPaintDC dc(this);
    if (platform::Surface* surface = dc.Surface()) surface->DrawBitmap(0, 0, m_picture, m_picture.Bounds());
}
