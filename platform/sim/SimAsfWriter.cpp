#include "SimAsfWriter.h"

#include <cstring>
#include <span>

#include "PosixFiles.h"
#include "SimMediaTypes.h"
#include "platform/Strings.h"

namespace platform::sim {

SimAsfWriter::SimAsfWriter(std::shared_ptr<SimMediaContext> context)
    : SimFilterWith(std::move(context), SimFilterKind::AsfWriter) {
    AddPin(PINDIR_INPUT, MEDIATYPE_Audio);
    AddPin(PINDIR_INPUT, MEDIATYPE_Video);
}

void* SimAsfWriter::FindInterface(REFIID iid) {
    if (iid == IID_IFileSinkFilter) return static_cast<IFileSinkFilter*>(this);
    if (iid == IID_IConfigAsfWriter) return static_cast<IConfigAsfWriter*>(this);
    return SimFilter::FindInterface(iid);
}

HRESULT SimAsfWriter::SetFileName(const std::wstring& path, const AM_MEDIA_TYPE*) {
    if (const HRESULT hr = m_context->Check("SetFileName"); hr != S_OK) return hr;
    if (path.empty()) return E_INVALIDARG;
    m_fileName = path;
    m_context->Log("SetFileName " + ToUtf8(path));
    return S_OK;
}

HRESULT SimAsfWriter::ConfigureFilterUsingProfile(IWMProfile* profile) {
    if (const HRESULT hr = m_context->Check("ConfigureFilterUsingProfile"); hr != S_OK) return hr;
    if (!profile) return E_POINTER;
    WmProfile* ours = AsWmProfile(profile);
    if (!ours) return E_INVALIDARG;
    for (int i = 0; i < PinCount(PINDIR_INPUT); ++i)
        if (Pin(PINDIR_INPUT, i)->Peer()) return VFW_E_ALREADY_CONNECTED;
    m_streams = ours->Streams();
    m_configured = true;
    RetirePins(PINDIR_INPUT);
    for (const WmStream& stream : m_streams) AddPin(PINDIR_INPUT, stream.type);
    m_context->Log("ConfigureFilterUsingProfile " + std::to_string(m_streams.size()) + " streams");
    return S_OK;
}

HRESULT SimAsfWriter::OnRun() {
    if (!m_configured || m_fileName.empty()) return S_OK;
    static constexpr char kHeader[] = "ASF sim recording\n";
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(kHeader), std::strlen(kHeader));
    // A real writer cannot start either when its file cannot be made.
    return PosixFiles().WriteFile(m_fileName, bytes) ? S_OK : E_ACCESSDENIED;
}

const WmStream* SimAsfWriter::StreamOfType(const GUID& type) const {
    for (const WmStream& stream : m_streams)
        if (stream.type == type) return &stream;
    return nullptr;
}

}  // namespace platform::sim
