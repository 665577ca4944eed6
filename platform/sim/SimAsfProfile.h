// The profile manager of the sim: the shared profile objects, behind the sim's failure switch.
#pragma once

#include <memory>

#include "SimMediaContext.h"
#include "platform/media/WmProfileObjects.h"

namespace platform::sim {

class SimAsfProfileManager final : public WmProfileManager {
public:
    explicit SimAsfProfileManager(std::shared_ptr<SimMediaContext> context) : m_context(std::move(context)) {}

    HRESULT LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) override;

private:
    std::shared_ptr<SimMediaContext> m_context;
};

}  // namespace platform::sim
