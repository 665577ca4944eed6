// The system device enumerator: categories listed from the device records at the moment of the
// request, each entry a moniker with a property bag and a filter to bind.
#pragma once

#include <memory>
#include <string>

#include "platform/ComObject.h"
#include "SimMediaContext.h"
#include "platform/media/Devices.h"

namespace platform::sim {

// The short name a category has in failure keys ("VideoInput", ...); empty when unknown.
[[nodiscard]] std::string SimCategoryName(const GUID& category);

class SimDeviceEnum final : public SingleComObject<ICreateDevEnum> {
public:
    explicit SimDeviceEnum(std::shared_ptr<SimMediaContext> context) : m_context(std::move(context)) {}

    HRESULT CreateClassEnumerator(const GUID& category, ComPtr<IEnumMoniker>& enumerator) override;

private:
    std::shared_ptr<SimMediaContext> m_context;
};

}  // namespace platform::sim
