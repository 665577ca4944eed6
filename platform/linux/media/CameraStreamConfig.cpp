#include "CameraStreamConfig.h"

#include "CameraFilter.h"

namespace platform::gst {

CameraStreamConfig::CameraStreamConfig(CameraFilter& camera) : m_camera(camera) { m_camera.AddRef(); }

CameraStreamConfig::~CameraStreamConfig() { m_camera.Release(); }

HRESULT CameraStreamConfig::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IAMStreamConfig) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<IAMStreamConfig*>(this);
    return S_OK;
}

uint32_t CameraStreamConfig::AddRef() { return m_refs.Add(); }

uint32_t CameraStreamConfig::Release() {
    uint32_t left = m_refs.Drop();
    if (left == 0) delete this;
    return left;
}

HRESULT CameraStreamConfig::GetFormat(AM_MEDIA_TYPE& type) {
    if (m_camera.DeviceTypes().empty()) return E_FAIL;
    type = m_camera.CurrentType();
    return S_OK;
}

HRESULT CameraStreamConfig::SetFormat(const AM_MEDIA_TYPE& type) { return m_camera.SetCaptureType(type); }

}  // namespace platform::gst
