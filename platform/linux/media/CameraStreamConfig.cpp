#include "CameraStreamConfig.h"

#include "CameraFilter.h"

namespace platform::gst {

CameraStreamConfig::CameraStreamConfig(CameraFilter& camera) : m_camera(camera) { m_camera.AddRef(); }

CameraStreamConfig::~CameraStreamConfig() { m_camera.Release(); }

HRESULT CameraStreamConfig::GetFormat(AM_MEDIA_TYPE& type) {
    if (m_camera.DeviceTypes().empty()) return E_FAIL;
    type = m_camera.CurrentType();
    return S_OK;
}

HRESULT CameraStreamConfig::SetFormat(const AM_MEDIA_TYPE& type) { return m_camera.SetCaptureType(type); }

}  // namespace platform::gst
