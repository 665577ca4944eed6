#include "SimFilterCamera.h"

#include "SimGraph.h"
#include "SimMediaTypes.h"
#include "platform/Strings.h"

namespace platform::sim {

SimFilterCamera::SimFilterCamera(std::shared_ptr<SimMediaContext> context, std::shared_ptr<SimCamera> camera)
    : SimFilterWith(std::move(context), SimFilterKind::Camera), m_camera(std::move(camera)) {
    if (m_camera->hasOutputPin) AddPin(PINDIR_OUTPUT, MEDIATYPE_Video);
    const auto types = m_camera->MediaTypes();
    if (!types.empty()) m_current = types.front();
}

void* SimFilterCamera::FindInterface(REFIID iid) {
    if (iid == IID_ISpecifyPropertyPages)
        return m_camera->propertyPages ? static_cast<ISpecifyPropertyPages*>(this) : nullptr;
    return SimFilter::FindInterface(iid);
}

void* SimFilterCamera::PinInterface(SimPin& pin, REFIID iid) {
    if (iid == IID_IAMStreamConfig && pin.Direction() == PINDIR_OUTPUT) return static_cast<IAMStreamConfig*>(&m_streamConfig);
    return nullptr;
}

HRESULT SimFilterCamera::StreamConfig::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IAMStreamConfig) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IAMStreamConfig*>(this);
    AddRef();
    return S_OK;
}

HRESULT SimFilterCamera::GetPages(std::vector<GUID>& pages) {
    pages = {kSimCameraPropertyPage};
    return S_OK;
}

std::vector<AM_MEDIA_TYPE> SimFilterCamera::OfferedTypes(const SimPin&) const { return m_camera->MediaTypes(); }

std::vector<AM_MEDIA_TYPE> SimFilterCamera::ProposedTypes(const SimPin& out) const {
    std::vector<AM_MEDIA_TYPE> types = OfferedTypes(out);
    if (m_current) types.insert(types.begin(), *m_current);
    return types;
}

HRESULT SimFilterCamera::CanJoin() const {
    if (!m_camera->present) return VFW_E_NOT_FOUND;
    if (m_camera->busy) return E_DEVICE_BUSY;
    return S_OK;
}

HRESULT SimFilterCamera::GetFormat(AM_MEDIA_TYPE& type) {
    if (const HRESULT hr = m_context->Check("GetFormat"); hr != S_OK) return hr;
    if (!m_current) return E_FAIL;
    type = *m_current;
    return S_OK;
}

HRESULT SimFilterCamera::CheckFormat(const AM_MEDIA_TYPE& type) const {
    if (const HRESULT hr = m_context->Check("SetFormat"); hr != S_OK) return hr;
    if (Graph() && !Graph()->IsStopped()) return VFW_E_NOT_STOPPED;
    // A connected pin would have to reconnect in the new format; the sim does not model that.
    if (Pin(PINDIR_OUTPUT, 0) && Pin(PINDIR_OUTPUT, 0)->Peer()) return VFW_E_ALREADY_CONNECTED;
    const auto size = SimVideoSize(type);
    if (type.majortype != MEDIATYPE_Video || !size) return VFW_E_TYPE_NOT_ACCEPTED;
    for (const AM_MEDIA_TYPE& offered : m_camera->MediaTypes())
        if (offered.subtype == type.subtype && SimVideoSize(offered) == size) return S_OK;
    return VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT SimFilterCamera::SetFormat(const AM_MEDIA_TYPE& type) {
    const HRESULT hr = CheckFormat(type);
    m_camera->setFormatCalls.push_back({type, hr});
    if (SUCCEEDED(hr)) m_current = type;
    const Size size = SimVideoSize(type).value_or(Size{});
    m_context->Log("SetFormat " + ToUtf8(m_camera->name) + " " + std::to_string(size.cx) + "x" +
                   std::to_string(size.cy) + (SUCCEEDED(hr) ? "" : " failed " + SimHex(hr)));
    return hr;
}

}  // namespace platform::sim
