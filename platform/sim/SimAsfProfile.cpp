#include "SimAsfProfile.h"

namespace platform::sim {

HRESULT SimAsfProfileManager::LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) {
    profile.Reset();
    if (const HRESULT hr = m_context->Check("LoadProfileByID"); hr != S_OK) return hr;
    return WmProfileManager::LoadProfileByID(id, profile);
}

}  // namespace platform::sim
