// The ASF writer: input pins follow the configured profile's streams (audio then video before
// any configuration). When its graph runs it writes a few bytes to its file, so the file exists
// as a real recording's would.
#pragma once

#include <string>
#include <vector>

#include "platform/media/WmProfileObjects.h"
#include "SimFilter.h"

namespace platform::sim {

class SimAsfWriter final : public SimFilterWith<IFileSinkFilter, IConfigAsfWriter> {
public:
    explicit SimAsfWriter(std::shared_ptr<SimMediaContext> context);

    HRESULT SetFileName(const std::wstring& path, const AM_MEDIA_TYPE* type) override;
    HRESULT ConfigureFilterUsingProfile(IWMProfile* profile) override;
    HRESULT OnRun() override;

    const std::wstring& FileName() const { return m_fileName; }
    bool IsConfigured() const { return m_configured; }
    // The streams of the profile the writer was configured with, in order.
    const std::vector<WmStream>& Streams() const { return m_streams; }
    // The first configured stream of a type, or nullptr.
    const WmStream* StreamOfType(const GUID& type) const;

private:
    void* FindInterface(REFIID iid) override;

    std::wstring m_fileName;
    bool m_configured = false;
    std::vector<WmStream> m_streams;
};

}  // namespace platform::sim
