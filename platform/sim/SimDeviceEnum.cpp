#include "SimDeviceEnum.h"

#include <vector>

#include "SimFilterCamera.h"
#include "SimFilterEffect.h"
#include "SimFilterStock.h"
#include "platform/Strings.h"

namespace platform::sim {

namespace {

class SimDevicePropertyBag final : public SingleComObject<IPropertyBag> {
public:
    explicit SimDevicePropertyBag(std::shared_ptr<SimDevice> device) : m_device(std::move(device)) {}

    HRESULT Read(const std::wstring& name, std::wstring& value) override {
        if (name != L"FriendlyName") return E_INVALIDARG;
        if (!m_device->nameReadable) return E_FAIL;
        value = m_device->name;
        return S_OK;
    }

private:
    std::shared_ptr<SimDevice> m_device;
};

class SimDeviceMoniker final : public SingleComObject<IMoniker> {
public:
    SimDeviceMoniker(std::shared_ptr<SimMediaContext> context, std::shared_ptr<SimDevice> device)
        : m_context(std::move(context)), m_device(std::move(device)) {}

    HRESULT BindToStorage(ComPtr<IPropertyBag>& bag) override {
        bag.Reset();
        if (m_device->bagFails) return E_FAIL;
        bag = MakeComObject<SimDevicePropertyBag>(m_device);
        return S_OK;
    }

    HRESULT BindToObject(ComPtr<IBaseFilter>& filter) override {
        filter.Reset();
        if (m_device->bindFails) return E_FAIL;
        if (!m_device->present) return VFW_E_NOT_FOUND;  // gone since it was listed
        switch (m_device->kind) {
        case SimDevice::Kind::Camera:
            filter = MakeComObject<SimFilterCamera>(m_context, std::static_pointer_cast<SimCamera>(m_device));
            break;
        case SimDevice::Kind::Microphone:
            filter = MakeComObject<SimFilterStock>(m_context, SimFilterKind::Microphone);
            break;
        case SimDevice::Kind::EffectFilter:
            filter = MakeComObject<SimFilterEffect>(m_context);
            break;
        case SimDevice::Kind::AudioCompressor:
            filter = MakeComObject<SimFilterStock>(m_context, SimFilterKind::Compressor);
            break;
        case SimDevice::Kind::LegacyFilter:
            filter = MakeComObject<SimFilterStock>(m_context, SimFilterKind::Generic);
            break;
        }
        return S_OK;
    }

private:
    std::shared_ptr<SimMediaContext> m_context;
    std::shared_ptr<SimDevice> m_device;
};

class SimMonikerEnum final : public SingleComObject<IEnumMoniker> {
public:
    SimMonikerEnum(std::shared_ptr<SimMediaContext> context, std::vector<std::shared_ptr<SimDevice>> devices)
        : m_context(std::move(context)), m_devices(std::move(devices)) {}

    HRESULT Next(ComPtr<IMoniker>& moniker) override {
        moniker.Reset();
        if (m_next >= m_devices.size()) return S_FALSE;
        moniker = MakeComObject<SimDeviceMoniker>(m_context, m_devices[m_next++]);
        return S_OK;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    std::shared_ptr<SimMediaContext> m_context;
    std::vector<std::shared_ptr<SimDevice>> m_devices;
    size_t m_next = 0;
};

template <class T>
void AddPresent(std::vector<std::shared_ptr<SimDevice>>& out, const std::vector<std::shared_ptr<T>>& devices,
                bool (*wanted)(const T&)) {
    for (const auto& device : devices)
        if (device->present && wanted(*device)) out.push_back(device);
}

}  // namespace

std::string SimCategoryName(const GUID& category) {
    if (category == CLSID_VideoInputDeviceCategory) return "VideoInput";
    if (category == CLSID_AudioInputDeviceCategory) return "AudioInput";
    if (category == AM_KSCATEGORY_CAPTURE) return "Capture";
    if (category == CLSID_LegacyAmFilterCategory) return "LegacyFilters";
    if (category == CLSID_AudioCompressorCategory) return "AudioCompressors";
    return {};
}

HRESULT SimDeviceEnum::CreateClassEnumerator(const GUID& category, ComPtr<IEnumMoniker>& enumerator) {
    enumerator.Reset();
    const std::string name = SimCategoryName(category);
    if (const HRESULT hr = m_context->Check("CreateClassEnumerator:" + name); hr != S_OK) return hr;
    std::vector<std::shared_ptr<SimDevice>> devices;
    const auto all = [](const auto&) { return true; };
    if (name == "VideoInput") {
        AddPresent<SimCamera>(devices, m_context->cameras, all);
    } else if (name == "Capture") {
        AddPresent<SimCamera>(devices, m_context->cameras, [](const SimCamera& c) { return c.captureClass; });
    } else if (name == "AudioInput") {
        AddPresent<SimMicrophone>(devices, m_context->microphones, all);
    } else if (name == "LegacyFilters") {
        AddPresent<SimDevice>(devices, m_context->legacyFilters, all);
    } else if (name == "AudioCompressors") {
        AddPresent<SimDevice>(devices, m_context->audioCompressors, all);
    }
    if (devices.empty()) return S_FALSE;
    enumerator = MakeComObject<SimMonikerEnum>(m_context, std::move(devices));
    return S_OK;
}

}  // namespace platform::sim
