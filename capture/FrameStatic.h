// The main window's small picture control (1004): shows the frame DrawFrame last gave it.
#pragma once

#include "framework/Static.h"
#include "platform/Bitmap.h"

class CFrameStatic : public CStatic {
public:
    // Keeps the picture (already at the control's size) and repaints with it.
    void SetPicture(platform::Bitmap picture);
    const platform::Bitmap& Picture() const { return m_picture; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    platform::Bitmap m_picture;
};
