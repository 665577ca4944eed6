// IAMStreamConfig of a camera's output pin: the current format, and the frame size to capture.
#pragma once

#include "platform/ComObject.h"
#include "platform/media/Filters.h"

namespace platform::gst {

class CameraFilter;

class CameraStreamConfig final : public SingleComObject<IAMStreamConfig> {
public:
    explicit CameraStreamConfig(CameraFilter& camera);

    // The current format; E_FAIL for a device that lists no video formats.
    HRESULT GetFormat(AM_MEDIA_TYPE& type) override;
    HRESULT SetFormat(const AM_MEDIA_TYPE& type) override;

private:
    ~CameraStreamConfig() override;

    CameraFilter& m_camera;  // a reference of ours keeps it alive
};

}  // namespace platform::gst
