// A camera's capture filter: one output pin offering the camera's types, with stream
// configuration on that pin and a property page on the filter. Each filter starts at the
// camera's first type, as a freshly opened device does.
#pragma once

#include <memory>
#include <optional>

#include "SimFilter.h"

namespace platform::sim {

class SimFilterCamera final : public SimFilterWith<ISpecifyPropertyPages> {
public:
    SimFilterCamera(std::shared_ptr<SimMediaContext> context, std::shared_ptr<SimCamera> camera);

    HRESULT GetPages(std::vector<GUID>& pages) override;

    std::vector<AM_MEDIA_TYPE> OfferedTypes(const SimPin& out) const override;
    std::vector<AM_MEDIA_TYPE> ProposedTypes(const SimPin& out) const override;
    HRESULT CanJoin() const override;
    void* PinInterface(SimPin& pin, REFIID iid) override;

    SimCamera& Camera() const { return *m_camera; }
    const std::optional<AM_MEDIA_TYPE>& CurrentFormat() const { return m_current; }

private:
    class StreamConfig final : public IAMStreamConfig {
    public:
        explicit StreamConfig(SimFilterCamera& filter) : m_filter(filter) {}
        HRESULT QueryInterface(REFIID iid, void** ppv) override;
        uint32_t AddRef() override { return m_filter.AddRef(); }
        uint32_t Release() override { return m_filter.Release(); }
        HRESULT GetFormat(AM_MEDIA_TYPE& type) override { return m_filter.GetFormat(type); }
        HRESULT SetFormat(const AM_MEDIA_TYPE& type) override { return m_filter.SetFormat(type); }

    private:
        SimFilterCamera& m_filter;
    };

    void* FindInterface(REFIID iid) override;
    HRESULT GetFormat(AM_MEDIA_TYPE& type);
    HRESULT SetFormat(const AM_MEDIA_TYPE& type);
    HRESULT CheckFormat(const AM_MEDIA_TYPE& type) const;

    std::shared_ptr<SimCamera> m_camera;
    std::optional<AM_MEDIA_TYPE> m_current;
    StreamConfig m_streamConfig{*this};
};

}  // namespace platform::sim
