// The graph's video window: the renderer's window, there only while a renderer is connected.
#include "SimGraph.h"
#include "SimMediaTypes.h"

namespace platform::sim {

HRESULT SimGraph::WindowAvailable() const {
    for (const SimGraphFilter& entry : m_record->filters) {
        if (entry.filter->Kind() != SimFilterKind::Renderer) continue;
        const SimPin* in = entry.filter->Pin(PINDIR_INPUT, 0);
        return in && in->Peer() ? S_OK : VFW_E_NOT_CONNECTED;
    }
    return E_NOINTERFACE;
}

HRESULT SimGraph::PutWindow(const char* property, int64_t value, void (*apply)(SimVideoWindowState&, int64_t)) {
    const HRESULT hr = WindowAvailable();
    Event(std::string("put_") + property + " " + std::to_string(value) + (FAILED(hr) ? " failed " + SimHex(hr) : ""));
    if (FAILED(hr)) return hr;
    apply(m_record->window, value);
    m_record->windowChanges.push_back({property, value});
    return S_OK;
}

HRESULT SimGraph::put_Owner(WindowHandle owner) {
    return PutWindow("Owner", owner.value, [](SimVideoWindowState& w, int64_t v) { w.owner = WindowHandle{uint32_t(v)}; });
}

HRESULT SimGraph::put_Left(int32_t left) {
    return PutWindow("Left", left, [](SimVideoWindowState& w, int64_t v) { w.left = int32_t(v); });
}

HRESULT SimGraph::put_Top(int32_t top) {
    return PutWindow("Top", top, [](SimVideoWindowState& w, int64_t v) { w.top = int32_t(v); });
}

HRESULT SimGraph::put_Width(int32_t width) {
    return PutWindow("Width", width, [](SimVideoWindowState& w, int64_t v) { w.width = int32_t(v); });
}

HRESULT SimGraph::put_Height(int32_t height) {
    return PutWindow("Height", height, [](SimVideoWindowState& w, int64_t v) { w.height = int32_t(v); });
}

HRESULT SimGraph::put_WindowStyle(int32_t style) {
    return PutWindow("WindowStyle", style, [](SimVideoWindowState& w, int64_t v) { w.style = int32_t(v); });
}

HRESULT SimGraph::put_Visible(bool visible) {
    return PutWindow("Visible", visible, [](SimVideoWindowState& w, int64_t v) { w.visible = v != 0; });
}

HRESULT SimGraph::put_WindowState(int32_t state) {
    return PutWindow("WindowState", state, [](SimVideoWindowState& w, int64_t v) { w.state = int32_t(v); });
}

HRESULT SimGraph::put_FullScreenMode(bool on) {
    return PutWindow("FullScreenMode", on, [](SimVideoWindowState& w, int64_t v) { w.fullScreen = v != 0; });
}

HRESULT SimGraph::put_MessageDrain(WindowHandle drain) {
    return PutWindow("MessageDrain", drain.value, [](SimVideoWindowState& w, int64_t v) { w.drain = WindowHandle{uint32_t(v)}; });
}

}  // namespace platform::sim
