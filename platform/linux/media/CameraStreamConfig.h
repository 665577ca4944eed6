// IAMStreamConfig of a camera's output pin: the current format, and the frame size to capture.
#pragma once

#include "platform/media/Filters.h"

namespace platform::gst {

class CameraFilter;

class CameraStreamConfig final : public IAMStreamConfig {
public:
    explicit CameraStreamConfig(CameraFilter& camera);
    CameraStreamConfig(const CameraStreamConfig&) = delete;
    CameraStreamConfig& operator=(const CameraStreamConfig&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    // The current format; E_FAIL for a device that lists no video formats.
    HRESULT GetFormat(AM_MEDIA_TYPE& type) override;
    HRESULT SetFormat(const AM_MEDIA_TYPE& type) override;

private:
    ~CameraStreamConfig();

    RefCount m_refs;
    CameraFilter& m_camera;  // a reference of ours keeps it alive
};

}  // namespace platform::gst
