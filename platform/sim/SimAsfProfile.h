// The Windows-Media-like profile: the one system profile, stream configurations handed out as
// copies and written back by ReconfigStream, as the real runtime does.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SimComObject.h"
#include "SimMediaContext.h"
#include "platform/media/AsfWriter.h"

namespace platform::sim {

struct SimAsfStream {
    GUID type;
    uint16_t number = 0;
    uint32_t bufferWindow = 0;  // milliseconds
    AM_MEDIA_TYPE mediaType;
    int64_t maxKeyFrameSpacing = 0;  // 100-nanosecond units
    uint32_t quality = 0;
    std::map<std::wstring, uint32_t> properties;

    std::optional<VIDEOINFOHEADER> VideoInfo() const { return ReadVideoInfo(mediaType); }
};

// The streams of WMProfile_V80_384Video: audio (number 1) then 320 x 240 video (number 2).
[[nodiscard]] std::vector<SimAsfStream> SimSystemProfileStreams();

class SimAsfStreamConfig final : public SimComObject<IWMStreamConfig, IWMVideoMediaProps, IWMPropertyVault> {
public:
    explicit SimAsfStreamConfig(SimAsfStream stream) : m_stream(std::move(stream)) {}

    HRESULT GetStreamType(GUID& type) override;
    HRESULT GetStreamNumber(uint16_t& number) override;
    HRESULT GetBufferWindow(uint32_t& ms) override;
    HRESULT SetBufferWindow(uint32_t ms) override;
    HRESULT GetMediaType(AM_MEDIA_TYPE* type, uint32_t& size) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT SetMaxKeyFrameSpacing(int64_t spacing100ns) override;
    HRESULT SetQuality(uint32_t quality) override;
    HRESULT SetProperty(const std::wstring& name, uint32_t value) override;

    const SimAsfStream& Stream() const { return m_stream; }

private:
    void* FindInterface(REFIID iid) override;

    SimAsfStream m_stream;
};

class SimAsfProfile final : public SimComObject<IWMProfile> {
public:
    explicit SimAsfProfile(std::vector<SimAsfStream> streams) : m_streams(std::move(streams)) {}

    HRESULT GetStreamCount(uint32_t& count) override;
    HRESULT GetStream(uint32_t index, ComPtr<IWMStreamConfig>& stream) override;
    HRESULT ReconfigStream(IWMStreamConfig* stream) override;
    HRESULT RemoveStream(IWMStreamConfig* stream) override;

    const std::vector<SimAsfStream>& Streams() const { return m_streams; }

private:
    void* FindInterface(REFIID iid) override;
    std::vector<SimAsfStream>::iterator Find(IWMStreamConfig* stream);

    std::vector<SimAsfStream> m_streams;
};

class SimAsfProfileManager final : public SimComObject<IWMProfileManager> {
public:
    explicit SimAsfProfileManager(std::shared_ptr<SimMediaContext> context) : m_context(std::move(context)) {}

    HRESULT LoadProfileByID(const GUID& id, ComPtr<IWMProfile>& profile) override;

private:
    void* FindInterface(REFIID iid) override;

    std::shared_ptr<SimMediaContext> m_context;
};

}  // namespace platform::sim
